#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace q93::test {

// Presses the keys of `keys` one by one on whichever widget has the focus, where a user's
// typing lands; '\b' is Backspace.
void typeIntoFocus(const QString& keys);

// Calls `action` with the active modal widget as soon as there is one, from the event loop
// that widget runs; `action` usually checks it and closes it.
void whenModal(std::function<void(QWidget*)> action);

}  // namespace q93::test
