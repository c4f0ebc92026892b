#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QtTest>
#include <memory>

#include "speech/speech_pane.h"
#include "test_support.h"
#include "ui/settings/dlg_speech.h"
#include "ui/widgets/tests/user_input.h"

using speech::SpeechList;
using wordbay::TextId;

class SpeechPageTest : public QObject {
    Q_OBJECT

    FakeEngine* m_sapi5 = nullptr;
    FakeEngine* m_espeak = nullptr;
    FakeEngine* m_sapi4 = nullptr;
    std::unique_ptr<speech::SpeechPane> m_pane;
    RecordingTarget m_target;

    SettingsContext context() {
        SettingsContext c;
        c.speech = m_pane.get();
        c.primaryListName = "Hrvatski";
        c.secondaryListName = "Engleski";
        return c;
    }
    speech::ListSpeechSettings& primary() { return m_pane->settings().of(SpeechList::kPrimary); }
    speech::ListSpeechSettings& secondary() {
        return m_pane->settings().of(SpeechList::kSecondary);
    }

private slots:
    void init() {
        auto sapi5 = std::make_unique<FakeEngine>(
            true, std::vector<speech::SpeechVoice>{{"bob", "Bob (en)"}, {"alice", "Alice (en)"}});
        auto espeak = std::make_unique<FakeEngine>(
            true,
            std::vector<speech::SpeechVoice>{{"croatian", "croatian"}, {"english", "english"}});
        auto sapi4 = std::make_unique<FakeEngine>(false);
        m_sapi5 = sapi5.get();
        m_espeak = espeak.get();
        m_sapi4 = sapi4.get();
        m_pane = std::make_unique<speech::SpeechPane>(std::move(sapi5), std::move(espeak),
                                                      std::move(sapi4));
        m_target.sent.clear();
    }
    void cleanup() { m_pane.reset(); }

    void showingThePageStartsTheEngineInUseAndShowsItsVoice() {
        primary().espeak.voice_id = "ENGLISH";
        primary().espeak.speed = 200;
        secondary().espeak.use = 0;
        DlgSpeech page(context(), &m_target);
        QCOMPARE(m_espeak->starts, 0);  // nothing starts before the page shows
        page.show();
        QCOMPARE(m_espeak->starts, 1);
        auto* voice = page.itemAs<QComboBox>(DlgSpeech::kVoice);
        QCOMPARE(voice->count(), 2);
        QCOMPARE(voice->currentText(), QString("english"));
        auto* speed = page.itemAs<QSlider>(DlgSpeech::kSpeed);
        QCOMPARE(speed->minimum(), 80);
        QCOMPARE(speed->maximum(), 390);
        QCOMPARE(speed->value(), 200);
        // The secondary list uses no engine: its controls stay off.
        QVERIFY(!page.item(DlgSpeech::kVoice + DlgSpeech::kSecondaryOffset)->isEnabled());
        QVERIFY(m_target.sent.isEmpty());
    }

    void tickingAnEngineLeavesOnlyItsFlag() {
        primary().sapi5.voice_id = "ALICE";
        primary().sapi5.speed = 13;
        DlgSpeech page(context(), &m_target);
        page.show();
        page.itemAs<QCheckBox>(DlgSpeech::kUseSapi5)->click();
        QCOMPARE(primary().sapi5.use, 1);
        QCOMPARE(primary().espeak.use, 0);
        QCOMPARE(primary().sapi4.use, 0);
        QVERIFY(!page.itemAs<QCheckBox>(DlgSpeech::kUseEspeak)->isChecked());
        QCOMPARE(secondary().espeak.use, 1);  // the other list keeps its engine
        QCOMPARE(page.itemAs<QComboBox>(DlgSpeech::kVoice)->currentText(), QString("Alice (en)"));
        // SAPI 5's speed shows as its rate; it has no pitch.
        QCOMPARE(page.findChild<QLabel*>("value7506")->text(), QString("3"));
        QVERIFY(!page.item(DlgSpeech::kPitch)->isEnabled());
        // Unticking leaves the list without an engine.
        page.itemAs<QCheckBox>(DlgSpeech::kUseSapi5)->click();
        QCOMPARE(primary().sapi5.use, 0);
        QVERIFY(!page.item(DlgSpeech::kVoice)->isEnabled());
    }

    // Each engine box, clicked by its label in a list's group, gives that
    // list that engine and leaves the other list's alone.
    void eachEngineBoxTicksItsEngineForItsList() {
        DlgSpeech page(context(), &m_target);
        page.show();
        QGroupBox* groups[2] = {nullptr, nullptr};
        for (QGroupBox* group : page.findChildren<QGroupBox*>()) {
            if (group->title() == QStringLiteral("Hrvatski")) groups[0] = group;
            if (group->title() == QStringLiteral("Engleski")) groups[1] = group;
        }
        QVERIFY(groups[0] != nullptr && groups[1] != nullptr);
        QVERIFY(user_input::clickButton(groups[0], uiText(TextId::MSG_ACTIVATE_SAPI5)));
        QCOMPARE(primary().sapi5.use, 1);
        QCOMPARE(primary().espeak.use, 0);
        QCOMPARE(secondary().sapi5.use, 0);
        QCOMPARE(secondary().espeak.use, 1);
        QVERIFY(user_input::clickButton(groups[1], uiText(TextId::MSG_ACTIVATE_SAPI5)));
        QCOMPARE(secondary().sapi5.use, 1);
        QCOMPARE(secondary().espeak.use, 0);
        QVERIFY(user_input::clickButton(groups[0], uiText(TextId::MSG_ACTIVATE_ESPEAK)));
        QCOMPARE(primary().espeak.use, 1);
        QCOMPARE(primary().sapi5.use, 0);
        QCOMPARE(secondary().sapi5.use, 1);
        QVERIFY(m_target.sent.isEmpty());
    }

    void anEngineThatWillNotStartIsReportedAndUnticked() {
        DlgSpeech page(context(), &m_target);
        page.show();
        const int id = DlgSpeech::kUseSapi4 + DlgSpeech::kSecondaryOffset;
        QString caption;
        answerNextBox(kIdOk, &caption);
        page.itemAs<QCheckBox>(id)->click();
        QCOMPARE(caption, QString("Error"));
        QVERIFY(!page.itemAs<QCheckBox>(id)->isChecked());
        QCOMPARE(secondary().sapi4.use, 0);
        QCOMPARE(secondary().espeak.use, 0);
    }

    void voicesAndSlidersStoreIntoTheEngineInUse() {
        DlgSpeech page(context(), &m_target);
        page.show();
        const int off = DlgSpeech::kSecondaryOffset;
        emit page.itemAs<QComboBox>(DlgSpeech::kVoice + off)->activated(0);
        QCOMPARE(secondary().espeak.voice_id, std::string("croatian"));
        QCOMPARE(primary().espeak.voice_id, std::string());

        auto* volume = page.itemAs<QSlider>(DlgSpeech::kVolume + off);
        // While the thumb is dragged only the number changes.
        volume->setSliderDown(true);
        volume->setValue(40);
        QCOMPARE(page.findChild<QLabel*>("value7527")->text(), QString("40"));
        QCOMPARE(secondary().espeak.volume, 100);
        volume->setSliderDown(false);
        QCOMPARE(secondary().espeak.volume, 40);
        // A key step stores at once.
        volume->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(secondary().espeak.volume, 41);
        QCOMPARE(primary().espeak.volume, 100);
    }

    void withoutAPaneThePageIsDisabled() {
        SettingsContext none;
        DlgSpeech page(none, &m_target);
        page.show();
        QVERIFY(!page.isEnabled());
    }
};

int runSpeechPageTests(int argc, char** argv) {
    SpeechPageTest suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "speech_page_test.moc"
