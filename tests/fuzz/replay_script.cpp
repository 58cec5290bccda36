// Scripts for ripple-replay. A script that reads holds only commands of the documented shapes,
// in the order of its lines; its work is counted on any picture without overflow; and a small
// one runs, leaving the picture's first and last rows as they were.

#include <algorithm>

#include "fuzz_promise.h"
#include "replay_script.h"
#include "replay_work.h"
#include "ripple.h"

using namespace quilvane::about;
using quilvane::Result;
using quilvane::fuzz::Promise;

namespace {

constexpr std::int32_t kWidth = 7, kHeight = 5;
constexpr std::int64_t kStepsTried = 200'000;  // a few milliseconds of water

Picture Gradient() {
    Picture picture{kWidth, kHeight,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(RippleStride(kWidth)) * kHeight)};
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<std::uint8_t>(i * 37);
    return picture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Result<std::vector<ReplayCommand>> commands = ParseReplayScript(quilvane::fuzz::Text(data, size));
    if (!commands) {
        Promise(commands.message().rfind("第 ", 0) == 0, "a refusal names the line");
        return 0;
    }
    std::size_t lastLine = 0;
    for (const ReplayCommand& command : *commands) {
        Promise(command.line > lastLine, "commands keep the order of their lines");
        lastLine = command.line;
        if (command.kind == ReplayCommand::Kind::Tick) Promise(command.arguments[0] >= 0, "no negative tick count");
        if (command.kind == ReplayCommand::Kind::Auto)
            Promise(command.arguments[0] >= kModeOff && command.arguments[0] <= kModeBursts, "a known mode");
    }
    (void)ReplaySteps(*commands, kMaxPictureSide, static_cast<std::int32_t>(kMaxPicturePixels / kMaxPictureSide));
    (void)ReplaySteps(*commands, 1, 1);
    const Result<std::int64_t> steps = ReplaySteps(*commands, kWidth, kHeight);
    if (!steps || *steps > kStepsTried) return 0;
    const Picture picture = Gradient();
    const Picture shown = Replay(picture, *commands);
    const auto rowBytes = static_cast<std::size_t>(RippleStride(kWidth));
    Promise(shown.pixels.size() == picture.pixels.size(), "the whole picture is shown");
    Promise(std::equal(picture.pixels.begin(), picture.pixels.begin() + rowBytes, shown.pixels.begin()) &&
                std::equal(picture.pixels.end() - rowBytes, picture.pixels.end(), shown.pixels.end() - rowBytes),
            "the first and last rows keep the picture's pixels");
    return 0;
}
