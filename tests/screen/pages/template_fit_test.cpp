#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "resources/templates/clock_page_template.h"
#include "resources/templates/main_window_templates.h"
#include "resources/templates/preset_templates.h"
#include "screen/kit/template_builder.h"
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
    buildTemplate(kOutputTemplate, &page);
    auto* aux = control<QComboBox>(&page, 1035);
    ASSERT_NE(aux, nullptr);
    EXPECT_EQ(aux->count(), 10);
    EXPECT_EQ(aux->itemText(2), GetParam() == Language::German ? "Links" : "Left");
    EXPECT_EQ(aux->currentIndex(), -1);
    EXPECT_EQ(dialogTitle(kModCheckTemplate),
              GetParam() == Language::German ? QString::fromUtf8("Mod Überw.") : "Mod Check");
    EXPECT_EQ(dialogTitle(kTestTemplate), "Test");
}

Q93_PAGES_BOTH_LANGUAGES(TemplateFit);

// The clock page sits inside the main window and shares its Read and Send ids (1005, 1006):
// each finds its own button, and nothing finds a control of the wrong kind or of another
// widget.
TEST(TemplateControl, FindsOnlyTheDialogsOwnControlOfTheKindAsked) {
    QWidget window;
    auto* page = new QWidget(&window);
    buildTemplate(mainWindowTemplate(), &window);
    buildTemplate(clockPageTemplate(), page);
    for (int id : {1005, 1006}) {
        auto* own = control<QPushButton>(&window, id);
        ASSERT_NE(own, nullptr) << id;
        EXPECT_EQ(own->parentWidget(), &window) << id;
        auto* pages = control<QPushButton>(page, id);
        ASSERT_NE(pages, nullptr) << id;
        EXPECT_EQ(pages->parentWidget(), page) << id;
        EXPECT_EQ(control<QLabel>(&window, id), nullptr) << id;
    }
    EXPECT_EQ(control(&window, 1047), nullptr);  // the page's PC time button
    EXPECT_EQ(control(page, kStaticId), nullptr);

    // A widget that takes a control's place is found by its id instead.
    QWidget* place = control(page, 1051);
    ASSERT_NE(place, nullptr);
    auto* stand = new QLabel(page);
    delete place;
    setControlId(stand, 1051);
    EXPECT_EQ(control<QLabel>(page, 1051), stand);
}

}  // namespace
}  // namespace q93::test
