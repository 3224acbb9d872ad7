#pragma once

#include <QFrame>
#include <QPointer>
#include <QString>

class QEventLoop;
class QLabel;

namespace q93 {

// Dialog 106: the captionless popup that names the running transfer. The transfer blocks
// the GUI thread from start to end, so the popup paints itself whenever it is shown.
class ProgressPopupWidget : public QFrame {
    Q_OBJECT

public:
    // Created hidden; `owner` (may be null) is the window it is centred over.
    explicit ProgressPopupWidget(QWidget* owner);

    // Sets the text, shows the popup centred over its owner and paints it before returning.
    void showText(const QString& text);

    QString text() const;
    QLabel* textLabel() const { return label_; }
    // Whether the popup has been painted on screen at least once.
    bool hasPainted() const { return painted_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void centreOverOwner();
    void waitForFirstPaint();

    QPointer<QWidget> owner_;
    QLabel* label_ = nullptr;
    bool painted_ = false;
    QEventLoop* firstPaintLoop_ = nullptr;
};

}  // namespace q93
