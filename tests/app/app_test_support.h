#pragma once

#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_prompts.h"
#include "app/preview_tick.h"
#include "engine/emitter.h"
#include "engine/settings.h"

namespace orv::test {

// The one QApplication of the test program (offscreen), with the settings store redirected into
// a temporary folder so no test touches the user's settings.
void EnsureApp();
QString SettingsFolder();

// A clock the test moves by hand; `step` is added after every reading.
struct FakeClock {
    std::shared_ptr<std::uint32_t> now = std::make_shared<std::uint32_t>(1000);
    std::uint32_t step = 0;
    MillisecondClock Clock() const {
        auto value = now;
        const std::uint32_t increment = step;
        return [value, increment] {
            const std::uint32_t reading = *value;
            *value += increment;
            return reading;
        };
    }
    void Advance(std::uint32_t ms) const { *now += ms; }
};

// Prompts answered from queues; what was asked is recorded.
class FakePrompts final : public CommandPrompts {
public:
    struct Answers {
        std::vector<std::optional<QString>> paths;
        std::vector<std::optional<QString>> texts;
        std::vector<QString> askedTexts;     // the text each AskText proposed
        std::vector<QString> proposedSaves;  // the name each AskSavePath proposed
        std::vector<QString> messageCaptions;
        int pathQuestions = 0;
    };

    explicit FakePrompts(std::shared_ptr<Answers> answers) : answers_(std::move(answers)) {}

    std::optional<QString> AskOpenPath(QWidget*, const QString&, const QString&) override;
    std::optional<QString> AskSavePath(QWidget*, const QString& proposed, const QString&,
                                       const QString&) override;
    std::optional<QString> AskText(QWidget*, const QString&, const QString& text) override;
    void ShowMessage(QWidget*, const QString& caption, const QString&) override;

private:
    std::optional<QString> NextPath();
    std::shared_ptr<Answers> answers_;
};

// An opaque white square texture, so that emitters draw.
void GiveSolidTexture(Emitter& emitter, std::uint32_t size = 8);

// Restores the process-wide settings when a test ends.
class SettingsGuard {
public:
    SettingsGuard() : saved_(CurrentSettings()), activeSse2_(ActiveSse2()) {}
    ~SettingsGuard() {
        CurrentSettings() = saved_;
        SetActiveSse2(activeSse2_);
    }

private:
    Settings saved_;
    bool activeSse2_;
};

std::u16string ToU16(const QString& text);
QString ToQ(const std::u16string& text);

}  // namespace orv::test
