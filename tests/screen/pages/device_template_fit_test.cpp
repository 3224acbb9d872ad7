#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include "resources/templates/clock_page_template.h"
#include "resources/templates/correction_page_template.h"
#include "resources/templates/interfaces_page_template.h"
#include "resources/templates/settings_page_template.h"
#include "screen/kit/template_builder.h"
#include "tests/screen/pages/device_page_support_test.h"

namespace q93 {
namespace {

const DialogTemplate* const kDeviceTemplates[] = {
    &settingsPageTemplate(),   &clockPageTemplate(),      &interfacesPageTemplate(),
    &correctionPageTemplate(), &correctionEditTemplate(),
};

using DeviceTemplateFit = test::DevicePageTest;

std::string where(const DialogTemplate& dialog, const ControlTemplate& control) {
    return "dialog " + std::to_string(dialog.id) + " control " + std::to_string(control.id) +
           " at " + std::to_string(control.x) + "," + std::to_string(control.y) + " \"" +
           (control.german != nullptr ? control.german : "") + '"';
}

bool showsText(const QWidget* widget) {
    return qobject_cast<const QLabel*>(widget) != nullptr ||
           qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr;
}

// The built widgets in template order.
QList<QWidget*> build(const DialogTemplate& dialog, QWidget* page) {
    buildTemplate(dialog, page);
    return page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

TEST_P(DeviceTemplateFit, EveryTextFitsItsControl) {
    for (const DialogTemplate* dialog : kDeviceTemplates) {
        QWidget page;
        const QList<QWidget*> widgets = build(*dialog, &page);
        ASSERT_EQ(widgets.size(), static_cast<qsizetype>(dialog->controls.size()));
        for (qsizetype i = 0; i < widgets.size(); ++i) {
            if (!showsText(widgets[i]))
                continue;
            EXPECT_LE(widgets[i]->sizeHint().width(), widgets[i]->width())
                << where(*dialog, dialog->controls[static_cast<std::size_t>(i)]);
        }
    }
}

// Controls lie inside the dialog and do not overlap, except that a frame holds the controls
// drawn inside it; none of them straddles a frame's border.
TEST_P(DeviceTemplateFit, ControlsStayInsideTheDialogAndApart) {
    for (const DialogTemplate* dialog : kDeviceTemplates) {
        QWidget page;
        const QList<QWidget*> widgets = build(*dialog, &page);
        const QRect area(QPoint(0, 0), page.minimumSize());
        for (qsizetype i = 0; i < widgets.size(); ++i) {
            const ControlTemplate& control = dialog->controls[static_cast<std::size_t>(i)];
            const QRect rect = widgets[i]->geometry();
            EXPECT_TRUE(area.contains(rect)) << where(*dialog, control);
            for (qsizetype j = 0; j < i; ++j) {
                const ControlTemplate& other = dialog->controls[static_cast<std::size_t>(j)];
                const QRect otherRect = widgets[j]->geometry();
                if (control.hidden || other.hidden || !rect.intersects(otherRect))
                    continue;
                const bool frameAround =
                    qobject_cast<QGroupBox*>(widgets[j]) != nullptr && otherRect.contains(rect);
                EXPECT_TRUE(frameAround)
                    << where(*dialog, control) << " overlaps " << where(*dialog, other);
            }
        }
    }
}

}  // namespace

Q93_PAGES_BOTH_LANGUAGES(DeviceTemplateFit);

}  // namespace q93
