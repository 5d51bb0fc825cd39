#include "window_test.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

bool WindowTest::openWindow()
{
    m_window = std::make_unique<orvanta::QtWindow>();
    m_window->load();
    m_window->show();
    return QTest::qWaitForWindowActive(m_window.get());
}

void WindowTest::pick(const QString& label) const
{
    auto* list = control<QComboBox>("Combo1");
    list->setFocus();
    list->setCurrentIndex(list->findText(label, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void WindowTest::typeSpeed(const QString& speed) const
{
    QTest::mouseClick(control<QRadioButton>("Option2"), Qt::LeftButton);
    auto* box = control<QLineEdit>("Text1");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, speed);
}

void WindowTest::calculate() const
{
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
}
