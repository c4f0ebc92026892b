#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "app/dictionary_settings.h"
#include "test_support.h"
#include "ui/settings/dlg_font_boje.h"
#include "ui/settings/dlg_font_boje1.h"
#include "ui/settings/view_ids.h"

using wordbay::ViewColor;
using wordbay::ViewFlag;
using wordbay::ViewFont;

namespace {

// The colour a swatch paints, as a colour reference 0x00BBGGRR.
std::uint32_t painted(QWidget* swatch) {
    const QImage image = swatch->grab().toImage();
    const QColor c = image.pixelColor(image.width() / 2, image.height() / 2);
    return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

// A target that acts on each view change, like the main window does.
class ActingTarget : public RecordingTarget {
public:
    std::function<void(int id)> act;
    void viewChanged(int viewId, int) override { act(viewId); }
};

}  // namespace

class ColorPagesTest : public QObject {
    Q_OBJECT

    wordbay::DictionarySettings m_dictionary;
    RecordingTarget m_target;

    SettingsContext context() {
        SettingsContext c;
        c.dictionary = &m_dictionary;
        c.primaryListName = "Hrvatski";
        c.secondaryListName = "Engleski";
        return c;
    }

private slots:
    void init() {
        m_dictionary = wordbay::DictionarySettings();
        m_target.sent.clear();
    }

    void theTooltipSwatchesFollowTheDirection() {
        m_dictionary.view.font(ViewFont::kTooltipListBoxPrimary).color = 0x00FF00;
        m_dictionary.view.font(ViewFont::kTooltipListBoxSecondary).color = 0x0000FF;
        m_dictionary.view.color(ViewColor::kTooltipBackground1Primary) = 0x112233;
        m_dictionary.view.color(ViewColor::kTooltipBackground1Secondary) = 0x445566;
        m_dictionary.primary_to_secondary = false;
        {
            DlgFontBoje1 page(context(), &m_target);
            QCOMPARE(painted(page.item(7428)), 0x0000FFu);
            QCOMPARE(painted(page.item(7429)), 0x445566u);
        }
        m_dictionary.primary_to_secondary = true;
        DlgFontBoje1 page(context(), &m_target);
        QCOMPARE(painted(page.item(7428)), 0x00FF00u);
        QCOMPARE(painted(page.item(7429)), 0x112233u);
    }

    void everyMainWindowSwatchShowsItsOwnSetting() {
        const struct {
            int swatch;
            ViewColor color;
        } colors[] = {{7224, ViewColor::kEdit1Background},
                      {7225, ViewColor::kListBox1Background},
                      {7226, ViewColor::kListBox1OddRow},
                      {7227, ViewColor::kListBox1SelectedBackground},
                      {7228, ViewColor::kListBox1SelectedText},
                      {7231, ViewColor::kEdit2Background},
                      {7232, ViewColor::kListBox2Background},
                      {7233, ViewColor::kListBox2OddRow},
                      {7234, ViewColor::kListBox2SelectedBackground},
                      {7235, ViewColor::kListBox2SelectedText}};
        const struct {
            int swatch;
            ViewFont font;
        } fonts[] = {{7222, ViewFont::kEdit1},
                     {7223, ViewFont::kListBox1},
                     {7229, ViewFont::kEdit2},
                     {7230, ViewFont::kListBox2}};
        std::uint32_t next = 0x100010;
        for (const auto& c : colors) m_dictionary.view.color(c.color) = next += 0x010203;
        for (const auto& f : fonts) m_dictionary.view.font(f.font).color = next += 0x010203;
        DlgFontBoje page(context(), &m_target);
        for (const auto& c : colors) {
            QCOMPARE(painted(page.item(c.swatch)), m_dictionary.view.color(c.color));
        }
        for (const auto& f : fonts) {
            QCOMPARE(painted(page.item(f.swatch)), m_dictionary.view.font(f.font).color);
        }
    }

    void aColourChangedByTheMainWindowShowsAtOnce() {
        ActingTarget target;
        target.act = [this](int id) {
            if (id == 7212) m_dictionary.view.color(ViewColor::kEdit2Background) = 0x203040;
        };
        DlgFontBoje page(context(), &target);
        page.show();
        QCOMPARE(painted(page.item(7231)), 0xFFFFFFu);
        page.itemAs<QPushButton>(7212)->click();
        QCOMPARE(painted(page.item(7231)), 0x203040u);
    }

    void thePagesSendEveryControlOnToTheMainWindow() {
        DlgFontBoje1 page(context(), &m_target);
        page.itemAs<QPushButton>(7414)->click();
        page.itemAs<QCheckBox>(7433)->click();
        emit page.itemAs<QComboBox>(7419)->activated(33);
        QCOMPARE(m_target.sent, (QStringList{"view 7414 0", "view 7433 0", "view 7419 33"}));
    }

    void patternsAndTheirReset() {
        m_dictionary.view.flag(ViewFlag::kTooltipUsePattern) = true;
        m_dictionary.view.tooltip_pattern_index = 34;  // read from a file, but no pattern
        DlgFontBoje1 page(context(), &m_target);
        auto* patterns = page.itemAs<QComboBox>(7419);
        QCOMPARE(patterns->count(), 34);
        QCOMPARE(patterns->currentIndex(), 0);
        QCOMPARE(patterns->itemText(5), QString::fromUtf8("Žbuka"));
        QCOMPARE(patterns->itemText(31), QString("Valovi"));
        patterns->setCurrentIndex(7);
        QVERIFY(page.itemAs<QCheckBox>(7418)->isChecked());
        page.itemAs<QPushButton>(7434)->click();
        QVERIFY(!page.itemAs<QCheckBox>(7418)->isChecked());
        QCOMPARE(patterns->currentIndex(), 0);
        QCOMPARE(m_target.sent, QStringList{"view 7434 0"});
    }

    // Every control of both pages names a setting for the main window, and
    // each font or colour button names the one its swatch shows, in both
    // translation directions.
    void everyButtonChangesWhatItsSwatchShows() {
        for (const bool primaryToSecondary : {true, false}) {
            m_dictionary = wordbay::DictionarySettings();
            m_dictionary.primary_to_secondary = primaryToSecondary;
            DlgFontBoje main(context(), &m_target);
            DlgFontBoje1 popup(context(), &m_target);
            for (SettingsPage* page :
                 {static_cast<SettingsPage*>(&main), static_cast<SettingsPage*>(&popup)}) {
                for (QWidget* w : page->findChildren<QWidget*>()) {
                    const bool forwards = dynamic_cast<PageButton*>(w) != nullptr ||
                                          dynamic_cast<PageCheck*>(w) != nullptr ||
                                          dynamic_cast<PageCombo*>(w) != nullptr;
                    if (forwards) QVERIFY(viewTarget(WControl::find(w)->controlId(), true));
                }
                std::uint32_t value = 0x102030;
                int rows = 0;
                for (QGridLayout* grid : page->findChildren<QGridLayout*>()) {
                    for (int row = 0; row < grid->rowCount(); ++row) {
                        auto* button =
                            dynamic_cast<PageButton*>(grid->itemAtPosition(row, 0)->widget());
                        auto* swatch =
                            qobject_cast<ColorSwatch*>(grid->itemAtPosition(row, 1)->widget());
                        QVERIFY(button != nullptr && swatch != nullptr);
                        const auto target = viewTarget(button->controlId(), primaryToSecondary);
                        QVERIFY(target && (target->kind == ViewTarget::kFont ||
                                           target->kind == ViewTarget::kColor));
                        value += 0x010101;
                        if (target->kind == ViewTarget::kFont)
                            m_dictionary.view.font(target->font).color = value;
                        else
                            m_dictionary.view.color(target->color) = value;
                        QVERIFY2(painted(swatch) == value, qPrintable(button->text()));
                        ++rows;
                    }
                }
                QVERIFY(rows >= 9);
            }
        }
    }

    void withoutADictionaryThePagesShowTheDefaults() {
        SettingsContext none;
        DlgFontBoje page(none, &m_target);
        QCOMPARE(painted(page.item(7226)), 0xF5F5F5u);
        QVERIFY(page.itemAs<QCheckBox>(7219)->isChecked());
    }
};

int runColorPageTests(int argc, char** argv) {
    ColorPagesTest suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "color_pages_test.moc"
