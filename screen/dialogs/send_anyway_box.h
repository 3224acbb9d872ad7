#pragma once

#include <QStringList>

class QWidget;

namespace q93 {

// Asks before values no page could give go to an encoder: lists them and says nothing was
// sent. Sending them anyway takes a deliberate second click; Enter, Escape and closing the
// box all keep them back. True only when the user chose to send.
bool askSendAnyway(QWidget* parent, const QStringList& fields);

}  // namespace q93
