#include "screen/kit/system_language.h"

#include <QLocale>

#include "base/string_table.h"

namespace q93 {

void applySystemLanguage() {
    setLanguage(QLocale::system().language() == QLocale::German ? Language::German
                                                                : Language::English);
}

}  // namespace q93
