#pragma once

#include <QFrame>
#include <array>

#include "link/connection_fields.h"

class QLineEdit;

namespace q93 {

// An IPv4 address as four fields of 0..255 between dots, as the platform's address control
// behaves: digits only, a field full with three digits or ended with '.' or a blank moves on
// to the next, a number above 255 becomes 255, Backspace and the arrows cross the dots.
class IpAddressEdit : public QFrame {
    Q_OBJECT

public:
    explicit IpAddressEdit(QWidget* parent = nullptr);

    // Each field takes the low 8 bits of its number.
    void setAddress(const IpAddressParts& parts);
    // A blank field reads 0.
    IpAddressParts address() const;

    QLineEdit* field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }

signals:
    void addressChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fieldEdited(int index);
    void moveTo(int index, bool atEnd);

    std::array<QLineEdit*, 4> fields_{};
};

}  // namespace q93
