#include "message_box_watcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

MessageBoxWatcher::MessageBoxWatcher()
{
    constexpr int pollMs = 5;
    m_timer.setInterval(pollMs);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxWatcher::inspect);
    m_timer.start();
}

void MessageBoxWatcher::inspect()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    m_boxes.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    if (ok != nullptr) {
        QTest::mouseClick(ok, Qt::LeftButton);
    } else {
        box->reject();
    }
}
