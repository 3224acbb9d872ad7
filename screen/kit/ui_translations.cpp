#include "screen/kit/ui_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace q93 {

UiTranslations::UiTranslations(Language language) {
    if (language != Language::German)
        return;
    // Qt's own texts come with Qt and may be missing; the tool's are built into it.
    if (qt_.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt_);
    if (tool_.load(QStringLiteral(":/translations/q93config_de.qm")))
        QCoreApplication::installTranslator(&tool_);
}

}  // namespace q93
