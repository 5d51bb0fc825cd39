#pragma once

#include "qt/qt_host.h"

#include <QObject>
#include <QString>
#include <memory>

// A test case that drives the real window, opened as start-up opens it.
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    // Builds the window, runs its Load handler and shows it; false if it never became active.
    [[nodiscard]] bool openWindow();

    // A control by its name. There is no test to run without it, so a missing one aborts.
    template <typename T> T* control(const char* name) const
    {
        auto* found = m_window->findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(found != nullptr);
        return found;
    }

    // What a user does: picks a list entry, switches to typed mode and types a speed, presses
    // Calculate.
    void pick(const QString& label) const;
    void typeSpeed(const QString& speed) const;
    void calculate() const;

    std::unique_ptr<orvanta::QtWindow> m_window;
};
