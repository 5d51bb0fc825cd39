#include "qt/translation.h"

#include <QCoreApplication>
#include <QString>
#include <QTranslator>
#include <memory>

using namespace Qt::StringLiterals;

namespace orvanta {

bool loadToolkitTranslation(QTranslator& translator)
{
    return translator.load(u":/i18n/qt_el.qm"_s);
}

bool installToolkitTranslation(QCoreApplication& application)
{
    auto translator = std::make_unique<QTranslator>();
    if (!loadToolkitTranslation(*translator)) {
        return false;
    }
    // Owned by the application from here on, so it lives as long as the texts it serves.
    translator->setParent(&application);
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace orvanta
