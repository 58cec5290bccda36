// ripple-replay: the About window's water effect without a window.
//   ripple-replay PICTURE.bmp SCRIPT OUTPUT.bmp
// Starts the effect on the picture, runs the script and writes what the window would show. A
// script with more work than kMaxReplaySteps is refused before it runs. Any failure is told on
// standard error with exit status 1, and no output file is written.

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "bmp_image.h"
#include "console.h"
#include "formats.h"
#include "replay_script.h"
#include "replay_work.h"
#include "whole_file.h"

namespace quilvane::about {
namespace {

std::string Usage() {
    return "用法：ripple-replay 图片.bmp 脚本 输出.bmp\n"
           "  在 24 位 BMP 图片上启动水波效果，执行脚本，把窗口会显示的画面写成 24 位 BMP 图片。\n"
           "  脚本每行一条命令，空行和以 # 开头的行跳过：\n"
           "    seed N                         设置随机数状态\n"
           "    drop X Y SIZE STRENGTH         在 (X, Y) 处加一滴水\n"
           "    auto MODE COUNT SIZE STRENGTH  自动模式：0 关，1 雨滴，2 游走的水滴，3 成片的小水滴\n"
           "    tick [K]                       走 K 个计时周期（默认 1 个）\n"
           "  脚本的工作量不能超过 " +
           ReplayWorkLimitText() +
           "：每个计时周期按图片的像素数计步，\n"
           "  每滴水另计 " +
           std::to_string(kDropSteps) + " 步加它盖住的像素数。\n";
}

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

int Fail(const std::string& message) {
    WriteText(stderr, message + "\n");
    return kFailed;
}

// The largest picture file is a little over 96 MiB; scripts of a million lines stay far below.
constexpr std::uint64_t kMaxFileSize = 256 * 1024 * 1024;

int Run(const std::string& picturePath, const std::string& scriptPath, const std::string& outputPath) {
    Result<std::string> pictureBytes = ReadWholeFile(picturePath, kMaxFileSize);
    if (!pictureBytes) return Fail(pictureBytes.message());
    Result<Picture> picture = DecodeBmp(*pictureBytes);
    if (!picture) return Fail("无法读取图片“" + picturePath + "”：" + picture.message());
    Result<std::string> scriptText = ReadWholeFile(scriptPath, kMaxFileSize);
    if (!scriptText) return Fail(scriptText.message());
    Result<std::vector<ReplayCommand>> commands = ParseReplayScript(*scriptText);
    if (!commands) return Fail("脚本“" + scriptPath + "”" + commands.message());
    if (Result<std::int64_t> steps = ReplaySteps(*commands, picture->width, picture->height); !steps)
        return Fail("脚本“" + scriptPath + "”" + steps.message());
    const Picture shown = Replay(*picture, *commands);
    if (Status written = WriteTextFile(outputPath, EncodeBmp(shown)); !written) return Fail(written.message());
    return 0;
}

}  // namespace
}  // namespace quilvane::about

int main(int argc, char** argv) {
    using namespace quilvane::about;
    const std::vector<std::string> arguments = quilvane::Utf8Arguments(argc, argv);
    if (arguments.size() != 3) {
        quilvane::WriteText(stderr, Usage());
        return kUsageError;
    }
    try {
        return Run(arguments[0], arguments[1], arguments[2]);
    } catch (const std::bad_alloc&) {
        return Fail("内存不足，无法处理这张图片");
    }
}
