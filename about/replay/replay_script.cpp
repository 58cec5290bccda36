#include "replay_script.h"

#include <charconv>
#include <string>

#include "ripple.h"

namespace quilvane::about {
namespace {

struct CommandShape {
    std::string_view name;
    ReplayCommand::Kind kind;
    std::size_t arguments;  // tick takes at most this many
    const char* usage;
};

constexpr CommandShape kShapes[] = {
    {"seed", ReplayCommand::Kind::Seed, 1, "seed N"},
    {"drop", ReplayCommand::Kind::Drop, 4, "drop X Y SIZE STRENGTH"},
    {"auto", ReplayCommand::Kind::Auto, 4, "auto MODE COUNT SIZE STRENGTH"},
    {"tick", ReplayCommand::Kind::Tick, 1, "tick [K]"},
};

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t\r", at);
        if (at == std::string_view::npos) return words;
        const std::size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
}

Status LineFailure(std::size_t line, const std::string& what) {
    return Status::Fail("第 " + std::to_string(line) + " 行：" + what);
}

// The command on one line that holds words; the failure says what is wrong with it.
Result<ReplayCommand> ParseCommand(const std::vector<std::string_view>& words) {
    const CommandShape* shape = nullptr;
    for (const CommandShape& candidate : kShapes)
        if (candidate.name == words[0]) shape = &candidate;
    if (!shape) return Status::Fail("未知命令“" + std::string(words[0]) + "”");
    const std::size_t given = words.size() - 1;
    const bool optional = shape->kind == ReplayCommand::Kind::Tick;
    if (given > shape->arguments || (!optional && given < shape->arguments))
        return Status::Fail("参数个数不对，应为“" + std::string(shape->usage) + "”");
    ReplayCommand command{shape->kind, {}};
    if (optional && given == 0) command.arguments[0] = 1;
    for (std::size_t i = 0; i < given; ++i) {
        const std::string_view word = words[i + 1];
        std::int32_t& value = command.arguments[i];
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error == std::errc::result_out_of_range)
            return Status::Fail("“" + std::string(word) + "”超出 32 位整数的范围");
        if (error != std::errc() || end != word.data() + word.size())
            return Status::Fail("“" + std::string(word) + "”不是整数");
    }
    if (command.kind == ReplayCommand::Kind::Tick && command.arguments[0] < 0) return Status::Fail("次数不能是负数");
    if (command.kind == ReplayCommand::Kind::Auto &&
        (command.arguments[0] < kModeOff || command.arguments[0] > kModeBursts))
        return Status::Fail("模式只能是 0（关）、1（雨滴）、2（游走的水滴）或 3（成片的小水滴）");
    return command;
}

}  // namespace

Result<std::vector<ReplayCommand>> ParseReplayScript(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a byte order mark from an editor
    std::vector<ReplayCommand> commands;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::vector<std::string_view> words = Words(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (words.empty() || words[0].front() == '#') continue;
        Result<ReplayCommand> command = ParseCommand(words);
        if (!command) return LineFailure(lineNumber, command.message());
        command->line = lineNumber;
        commands.push_back(*command);
    }
    return commands;
}

Picture Replay(const Picture& picture, const std::vector<ReplayCommand>& commands) {
    RippleState state;
    RippleBegin(state, picture.width, picture.height, picture.pixels.data(), 0);
    for (const ReplayCommand& command : commands) {
        const auto& a = command.arguments;
        switch (command.kind) {
        case ReplayCommand::Kind::Seed: state.seed = a[0]; break;
        case ReplayCommand::Kind::Drop: RippleAddDrop(state, a[0], a[1], a[2], a[3]); break;
        case ReplayCommand::Kind::Auto: RippleSetAutoMode(state, a[0], a[1], a[2], a[3]); break;
        case ReplayCommand::Kind::Tick:
            for (std::int32_t tick = 0; tick < a[0]; ++tick) RippleTick(state);
            break;
        }
    }
    return Picture{picture.width, picture.height, std::move(state.outputPixels)};
}

}  // namespace quilvane::about
