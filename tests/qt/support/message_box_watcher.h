#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

// What a modal message box showed the user.
struct ShownBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Records every modal message box that opens while it lives, then presses its OK button the way
// a user would, so that the handler that opened it can go on.
class MessageBoxWatcher : public QObject
{
public:
    MessageBoxWatcher();

    [[nodiscard]] const QList<ShownBox>& boxes() const { return m_boxes; }

private:
    void inspect();

    QTimer m_timer;
    QList<ShownBox> m_boxes;
};
