#pragma once

#include <QPoint>
#include <QTabBar>

namespace q93 {

// A tab bar that asks before it selects another tab. QTabBar switches first and tells
// afterwards, too late for a page that refuses to be left: by then the page it was to give
// way to is already on screen. This bar turns every user action that would select another
// tab (a click, the arrow keys, the wheel) into tabChangeRequested and leaves the choice to
// its owner, which selects the tab with setCurrentIndex once the page being left agrees.
class VetoingTabBar : public QTabBar {
    Q_OBJECT

public:
    explicit VetoingTabBar(QWidget* parent = nullptr);

signals:
    void tabChangeRequested(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool selectsWith(const QMouseEvent& event) const;
    bool isOtherSelectable(int index) const;
    // Asks for `index` when it is another tab that can be selected; false when it is not.
    bool request(int index);
    // The nearest enabled, visible tab `step` tabs at a time from the current one, or -1.
    int nextSelectable(int step) const;

    QPoint wheelTurn_;
};

}  // namespace q93
