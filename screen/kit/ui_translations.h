#pragma once

#include <QTranslator>

#include "base/string_table.h"

namespace q93 {

// The translators of one user-interface language, installed into the application for as long
// as this object lives. The screen's own texts are written in English, so English needs none;
// German brings the tool's texts that no template or string table holds, and Qt's texts of
// the standard dialogs and menus where the system has them.
class UiTranslations {
public:
    explicit UiTranslations(Language language);
    UiTranslations(const UiTranslations&) = delete;
    UiTranslations& operator=(const UiTranslations&) = delete;

    bool toolTextsLoaded() const { return !tool_.isEmpty(); }
    bool qtTextsLoaded() const { return !qt_.isEmpty(); }

private:
    QTranslator qt_;
    QTranslator tool_;
};

}  // namespace q93
