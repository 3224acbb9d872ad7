#include "screen/pages/vetoing_tab_bar.h"

#include <QInputDevice>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionTabBarBase>
#include <QWheelEvent>

namespace q93 {

namespace {

// The six preset tabs must fit above a page of the template's width, between the tree and the
// buttons, in any desktop font: the style's spacing around each caption is halved.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};

}  // namespace

VetoingTabBar::VetoingTabBar(QWidget* parent) : QTabBar(parent) {
    auto* compact = new CompactTabStyle;
    compact->setParent(this);
    setStyle(compact);
}

// The style says whether a tab is selected when the button goes down or when it comes up.
bool VetoingTabBar::selectsWith(const QMouseEvent& event) const {
    if (event.button() != Qt::LeftButton) {
        return false;
    }
    QStyleOptionTabBarBase option;
    option.initFrom(this);
    option.documentMode = documentMode();
    return event.type() == style()->styleHint(QStyle::SH_TabBar_SelectMouseType, &option, this);
}

bool VetoingTabBar::isOtherSelectable(int index) const {
    return index >= 0 && index < count() && index != currentIndex() && isTabEnabled(index);
}

bool VetoingTabBar::request(int index) {
    if (!isOtherSelectable(index)) {
        return false;
    }
    emit tabChangeRequested(index);
    return true;
}

int VetoingTabBar::nextSelectable(int step) const {
    for (int index = currentIndex() + step; index >= 0 && index < count(); index += step) {
        if (isTabEnabled(index) && isTabVisible(index)) {
            return index;
        }
    }
    return -1;
}

void VetoingTabBar::mousePressEvent(QMouseEvent* event) {
    const int index = tabAt(event->position().toPoint());
    if (selectsWith(*event) && isOtherSelectable(index)) {
        emit tabBarClicked(index);  // as QTabBar tells of every press
        request(index);
        event->accept();
        return;
    }
    QTabBar::mousePressEvent(event);
}

void VetoingTabBar::mouseReleaseEvent(QMouseEvent* event) {
    if (selectsWith(*event) && request(tabAt(event->position().toPoint()))) {
        event->accept();
        return;
    }
    QTabBar::mouseReleaseEvent(event);
}

void VetoingTabBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right) {
        QTabBar::keyPressEvent(event);
        return;
    }
    const bool back = event->key() == (isRightToLeft() ? Qt::Key_Right : Qt::Key_Left);
    request(nextSelectable(back ? -1 : 1));
    event->accept();
}

// As QTabBar does it: a wheel without pixel precision steps one tab for each full notch it
// has turned, a touch pad scrolls the tabs and selects none.
void VetoingTabBar::wheelEvent(QWheelEvent* event) {
    const bool stepsTabs =
        style()->styleHint(QStyle::SH_TabBar_AllowWheelScrolling, nullptr, this) &&
        !event->device()->capabilities().testFlag(QInputDevice::Capability::PixelScroll);
    if (!stepsTabs) {
        QTabBar::wheelEvent(event);
        return;
    }
    wheelTurn_ += event->angleDelta();
    const int notchesX = wheelTurn_.x() / QWheelEvent::DefaultDeltasPerStep;
    const int notchesY = wheelTurn_.y() / QWheelEvent::DefaultDeltasPerStep;
    int step = 0;
    if (notchesX > 0 || notchesY > 0) {
        step = -1;
    } else if (notchesX < 0 || notchesY < 0) {
        step = 1;
    }
    if (step != 0) {
        wheelTurn_ = QPoint();
        if (request(nextSelectable(step))) {
            event->accept();
            return;
        }
    }
    event->ignore();
}

}  // namespace q93
