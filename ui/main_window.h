#pragma once

// frmMain, the program's only window, and its event handlers.

#include <QDialog>
#include <memory>

namespace Ui {
class frmMain;
}

// A dialog, because only a dialog gives Enter to its default button (Calculate).
class frmMain : public QDialog
{
    Q_OBJECT

public:
    // At the text size that the system asks for.
    explicit frmMain(QWidget* parent = nullptr);
    // Text and layout textScale times as large as laid out, or as near to that as the screen
    // holds.
    explicit frmMain(double textScale, QWidget* parent = nullptr);
    ~frmMain() override;

    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Runs the Load handler; start-up calls this once, before the window is shown.
    void load();

#ifdef Q_OS_WIN
    void setVisible(bool visible) override;
#endif

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void connectHandlers();
    void useDialogFont(double factor);
    void scaleLayout(double factor);
    [[nodiscard]] QSize frameAround();
#ifdef Q_OS_WIN
    void centreOnScreen();
#endif

    void Form_Load();
    void Speed_Selection();
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    std::unique_ptr<Ui::frmMain> ui;
};
