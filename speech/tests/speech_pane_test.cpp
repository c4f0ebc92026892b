#include "speech/speech_pane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "speech/speech_dispatcher_engine.h"

namespace speech {
namespace {

// Records every call; refuses what it is told to refuse.
class FakeEngine final : public SpeechEngine {
public:
    FakeEngine(std::string name, std::vector<std::string>* log, bool can_start = true)
        : name_(std::move(name)), log_(log), can_start_(can_start) {}

    bool Start() override {
        log_->push_back(name_ + " start");
        started_ = can_start_;
        return can_start_;
    }
    void Shutdown() override { started_ = false; }
    bool started() const override { return started_; }
    bool ListVoices(std::vector<SpeechVoice>* voices) override {
        voices->clear();
        return false;
    }
    bool SelectVoice(std::string_view id) override {
        log_->push_back(name_ + " voice " + std::string(id));
        return known_voices.empty() || known_voices.count(std::string(id)) != 0;
    }
    bool SetSpeed(int v) override { return Record("speed", v); }
    bool SetVolume(int v) override { return Record("volume", v); }
    bool SetPitch(int v) override { return Record("pitch", v); }
    bool Speak(std::string_view text, std::uint32_t code_page) override {
        log_->push_back(name_ + " speak " + std::string(text) + " " + std::to_string(code_page));
        return true;
    }
    void Stop() override { log_->push_back(name_ + " stop"); }

    std::set<std::string> known_voices;  // empty: every voice is known
    bool refuse_volume = false;

private:
    bool Record(const char* what, int v) {
        log_->push_back(name_ + " " + what + " " + std::to_string(v));
        return !(refuse_volume && std::string(what) == "volume");
    }

    std::string name_;
    std::vector<std::string>* log_;
    bool can_start_;
    bool started_ = false;
};

struct Fixture {
    explicit Fixture(bool sapi5_starts = true) {
        auto s5 = std::make_unique<FakeEngine>("sapi5", &log, sapi5_starts);
        auto es = std::make_unique<FakeEngine>("espeak", &log);
        auto s4 = std::make_unique<FakeEngine>("sapi4", &log, false);
        sapi5 = s5.get();
        espeak = es.get();
        pane = std::make_unique<SpeechPane>(std::move(s5), std::move(es), std::move(s4));
        pane->SetLocales(1033, 1050);  // English (1252), Croatian (1250)
    }
    std::vector<std::string> log;
    FakeEngine* sapi5;
    FakeEngine* espeak;
    std::unique_ptr<SpeechPane> pane;
};

bool Logged(const std::vector<std::string>& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

TEST(SpeechSettingsTest, DefaultsDifferOnlyInSapi4SecondarySpeed) {
    const SpeechSettings s;
    EXPECT_EQ(s.lists[0].espeak.use, 1);
    EXPECT_EQ(s.lists[1].espeak.speed, 170);
    EXPECT_EQ(s.lists[0].sapi4.speed, 170);
    EXPECT_EQ(s.lists[1].sapi4.speed, 180);
    EXPECT_EQ(s.lists[1].sapi4.pitch, 150);
    EXPECT_EQ(s.lists[0].sapi5.use, 0);
    EXPECT_EQ(s.lists[1].sapi5.speed, 10);
}

TEST(SpeechPaneTest, SecondaryWordUsesSecondaryCodePage) {
    Fixture f;
    ASSERT_TRUE(f.pane->StartEngines().failed.empty());
    f.pane->settings().lists[1].espeak.voice_id = "croatian";
    EXPECT_TRUE(f.pane->SpeakWord(SpeechList::kSecondary,
                                  "\xE8"
                                  "a\x9A"
                                  "a"));
    EXPECT_TRUE(Logged(f.log,
                       "espeak speak \xE8"
                       "a\x9A"
                       "a 1250"));
    EXPECT_TRUE(f.pane->SpeakWord(SpeechList::kPrimary, "house"));
    EXPECT_TRUE(Logged(f.log, "espeak speak house 1252"));
}

TEST(SpeechPaneTest, Sapi5WinsWhenRunningElseFallsThroughToEspeak) {
    for (const bool sapi5_starts : {true, false}) {
        Fixture f(sapi5_starts);
        f.pane->settings().lists[0].sapi5.use = 1;  // eSpeak's flag stays set too
        const EngineStartReport report = f.pane->StartEngines();
        EXPECT_TRUE(report.any_used);
        EXPECT_EQ(report.failed.size(), sapi5_starts ? 0u : 1u);
        EXPECT_TRUE(f.pane->SpeakWord(SpeechList::kPrimary, "word"));
        EXPECT_EQ(Logged(f.log, "sapi5 speak word 1252"), sapi5_starts);
        EXPECT_EQ(Logged(f.log, "espeak speak word 1252"), !sapi5_starts);
    }
}

TEST(SpeechPaneTest, Sapi5RateIsSpeedMinusTenClamped) {
    EXPECT_EQ(SpeechDispatcherEngine::RateFromSpeed(-2147483647 - 1), -10);
    for (const auto& [speed, rate] : {std::pair{0, "-10"}, {25, "10"}, {10, "0"}}) {
        Fixture f;
        f.pane->settings().lists[0].sapi5.use = 1;
        f.pane->settings().lists[0].sapi5.speed = speed;
        (void)f.pane->StartEngines();
        EXPECT_TRUE(f.pane->SpeakWord(SpeechList::kPrimary, "w"));
        EXPECT_TRUE(Logged(f.log, std::string("sapi5 speed ") + rate)) << speed;
    }
}

TEST(SpeechPaneTest, RefusedParameterSpeaksNothingAndReturnsFalse) {
    Fixture f;
    (void)f.pane->StartEngines();
    f.espeak->refuse_volume = true;
    EXPECT_FALSE(f.pane->SpeakWord(SpeechList::kPrimary, "word"));
    EXPECT_FALSE(Logged(f.log, "espeak speak word 1252"));
}

TEST(SpeechPaneTest, NoRunningEngineSpeaksNothingButSucceeds) {
    Fixture f;  // nothing started
    EXPECT_TRUE(f.pane->SpeakWord(SpeechList::kPrimary, "word"));
    f.pane->settings().lists[0].espeak.use = 0;
    f.pane->settings().lists[1].espeak.use = 0;
    EXPECT_FALSE(f.pane->StartEngines().any_used);
    EXPECT_TRUE(f.log.empty());
}

TEST(SpeechPaneTest, ListWithoutVoiceUsesItsLanguageThenDefault) {
    Fixture f;
    (void)f.pane->StartEngines();
    f.espeak->known_voices = {"hr"};
    EXPECT_TRUE(f.pane->SpeakWord(SpeechList::kSecondary, "kuca"));
    EXPECT_TRUE(Logged(f.log, "espeak voice hr-hr"));
    EXPECT_TRUE(Logged(f.log, "espeak speak kuca 1250"));

    f.espeak->known_voices = {"default"};
    f.log.clear();
    EXPECT_TRUE(f.pane->SpeakWord(SpeechList::kSecondary, "kuca"));
    EXPECT_TRUE(Logged(f.log, "espeak voice default"));

    f.espeak->known_voices = {"nothing"};
    EXPECT_FALSE(f.pane->SpeakWord(SpeechList::kSecondary, "kuca"));
}

TEST(SpeechPaneTest, EspeakVoicesForLocale) {
    EXPECT_EQ(EspeakVoicesForLocale(1050), (std::vector<std::string>{"hr-hr", "hr", "default"}));
    EXPECT_EQ(EspeakVoicesForLocale(1033), (std::vector<std::string>{"en-us", "en", "default"}));
}

}  // namespace
}  // namespace speech
