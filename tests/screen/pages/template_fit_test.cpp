#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "screen/kit/template_builder.h"
#include "resources/templates/preset_templates.h"
#include "tests/screen/pages/page_test_support.h"

namespace q93::test {
namespace {

const DialogTemplate* const kTemplates[] = {
    &kInputTemplate, &kOutputTemplate,   &kLimiterTemplate,  &kModeTemplate,
    &kTestTemplate,  &kModCheckTemplate, &kLocationTemplate,
};

// Builds every template in the test's language.
class TemplateFit : public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override { setLanguage(GetParam()); }
    void TearDown() override { setLanguage(Language::German); }
};

std::string where(const DialogTemplate& dialog, const ControlTemplate& control) {
    return "dialog " + std::to_string(dialog.id) + " control at " + std::to_string(control.x) +
           "," + std::to_string(control.y) + " " + (control.german ? control.german : "");
}

bool showsText(const QWidget* widget) {
    return qobject_cast<const QLabel*>(widget) != nullptr ||
           qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr;
}

TEST_P(TemplateFit, EveryTextFitsItsControl) {
    for (const DialogTemplate* dialog : kTemplates) {
        QWidget page;
        buildTemplate(*dialog, &page);
        const QList<QWidget*> widgets = page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(widgets.size(), static_cast<qsizetype>(dialog->controls.size()));
        for (qsizetype i = 0; i < widgets.size(); ++i) {
            const QWidget* widget = widgets[i];
            if (!showsText(widget)) {
                continue;
            }
            EXPECT_LE(widget->sizeHint().width(), widget->width())
                << where(*dialog, dialog->controls[static_cast<std::size_t>(i)]);
        }
    }
}

TEST_P(TemplateFit, ControlsStayInsideTheFrameWithoutOverlapping) {
    for (const DialogTemplate* dialog : kTemplates) {
        QWidget page;
        buildTemplate(*dialog, &page);
        const QList<QWidget*> widgets = page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        const QRect frame = widgets.front()->geometry();
        EXPECT_TRUE(QRect(QPoint(0, 0), page.minimumSize()).contains(frame)) << dialog->id;
        for (qsizetype i = 1; i < widgets.size(); ++i) {
            const ControlTemplate& control = dialog->controls[static_cast<std::size_t>(i)];
            EXPECT_TRUE(frame.contains(widgets[i]->geometry())) << where(*dialog, control);
            for (qsizetype j = 1; j < i; ++j) {
                if (control.hidden || dialog->controls[static_cast<std::size_t>(j)].hidden) {
                    continue;
                }
                EXPECT_FALSE(widgets[i]->geometry().intersects(widgets[j]->geometry()))
                    << where(*dialog, control) << " overlaps "
                    << where(*dialog, dialog->controls[static_cast<std::size_t>(j)]);
            }
        }
    }
}

TEST_P(TemplateFit, CaptionsAndListsFollowTheLanguage) {
    QWidget page;
    const auto controls = buildTemplate(kOutputTemplate, &page);
    auto* aux = qobject_cast<QComboBox*>(controls.at(1035));
    ASSERT_NE(aux, nullptr);
    EXPECT_EQ(aux->count(), 10);
    EXPECT_EQ(aux->itemText(2), GetParam() == Language::German ? "Links" : "Left");
    EXPECT_EQ(aux->currentIndex(), -1);
    EXPECT_EQ(dialogTitle(kModCheckTemplate),
              GetParam() == Language::German ? QString::fromUtf8("Mod Überw.") : "Mod Check");
    EXPECT_EQ(dialogTitle(kTestTemplate), "Test");
}

Q93_PAGES_BOTH_LANGUAGES(TemplateFit);

}  // namespace
}  // namespace q93::test
