// quilvane: the split and merge engine from the command line.
//   quilvane split [--bat] [--] SOURCE SIZE TARGET
//   quilvane merge [--no-verify] [--] DESCRIPTOR TARGET
//   quilvane verify [--] DESCRIPTOR
//   quilvane join [--name N] [--] TARGET FILE...
//   quilvane mail --server HOST[:PORT] --from ADDR --to ADDR[;ADDR...] [options]

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "console.h"
#include "interruption.h"
#include "mail_command.h"
#include "task.h"
#include "verify.h"

namespace quilvane {
namespace {

constexpr const char* kUsage =
    "用法：\n"
    "  quilvane split [--bat] 源文件 大小 目标文件夹\n"
    "      把源文件分割成 001.pe、002.pe……，并写出合并信息文件（.hpe）和分块的 SHA-256 校验文件（.sha256）。\n"
    "      大小是数字加单位，如 100k、0100k、1m；--bat 同时写出自动合并的批处理文件。\n"
    "  quilvane merge [--no-verify] 合并信息文件 目标文件夹\n"
    "      按合并信息文件把分块合并回原文件；旁边有校验文件时先核对每个分块，--no-verify 不核对。\n"
    "  quilvane verify 合并信息文件\n"
    "      按校验文件检查每个分块，不写任何文件：都完好时退出状态为 0，否则列出有问题的分块，退出状态为 1。\n"
    "  quilvane join [--name N] 目标文件夹 文件...\n"
    "      把文件按顺序合并成一个 .txt 文件；第 N 个文件（默认第 1 个）给出文件名。\n"
    "  选项写在最前面；“--”之后的参数都当作文件名，即使以“-”开头。\n"
    "  quilvane mail --server 服务器[:端口] --from 发件人 --to 收件人[;收件人...] [--user 用户名]\n"
    "                [--subject 标题] [--body-file 内容文件] [--attach 附件]...\n"
    "                [--tls starttls|implicit|none] [--ca-file 证书文件]\n"
    "      发送一封邮件，密码取自环境变量 QUILVANE_SMTP_PASSWORD；端口默认为 25，465 端口从一开始就加密。\n"
    "      服务器支持 STARTTLS 时总是先加密；不支持时密码不会发出，除非给出 --tls none（允许以明文发送密码）。\n"
    "      --tls starttls 拒绝不能加密的服务器，--tls implicit 在任何端口上从一开始就加密。\n";

constexpr int kUsageError = 2;

// The progress line on a terminal's standard error, and the notices of a result after it:
// success on standard output, everything else on standard error.
class Console {
public:
    void ShowProgress(float percent) {
        if (!showProgress_) return;
        const int shown = static_cast<int>(percent);
        if (shown == 0) return ClearProgressLine();
        WriteText(stderr, "\r进度 " + std::to_string(shown) + "%");
        progressShown_ = true;
    }
    // Tells what happened; the exit status: 0 when the task was done.
    int Tell(const TaskResult& result) {
        ClearProgressLine();
        for (const Notice& notice : result.notices)
            WriteText(notice.kind == NoticeKind::Success ? stdout : stderr, notice.text + "\n");
        return result.outcome == TaskOutcome::Done ? 0 : 1;
    }

private:
    void ClearProgressLine() {
        if (progressShown_) WriteText(stderr, "\r            \r");
        progressShown_ = false;
    }

    bool showProgress_ = IsTerminal(stderr);
    bool progressShown_ = false;
};

int UsageError(const std::string& problem) {
    WriteText(stderr, problem + "\n" + kUsage);
    return kUsageError;
}

// "100k", "0100k", "1m": the digits as typed, then the unit letter.
bool ParseSize(const std::string& text, TaskInputs& inputs) {
    if (text.size() < 2) return false;
    const char unit = text.back();
    if (unit != 'k' && unit != 'K' && unit != 'm' && unit != 'M') return false;
    inputs.sizeText = text.substr(0, text.size() - 1);
    inputs.unit = (unit == 'm' || unit == 'M') ? SizeUnit::Megabytes : SizeUnit::Kilobytes;
    return inputs.sizeText.find_first_not_of("0123456789") == std::string::npos;
}

constexpr const char* kBadNameNumber = "--name 后应为文件的序号（从 1 起）。";

// split, merge or join, with the options already read.
int RunFileTask(const std::string& command, const std::vector<std::string>& operands, bool verifyPieces,
                const std::optional<std::string>& nameNumber, const TaskOptions& options, Console& console) {
    TaskInputs inputs;
    if (command == "split") {
        if (operands.size() != 3) return UsageError("split 需要三个参数：源文件、大小、目标文件夹。");
        if (!ParseSize(operands[1], inputs)) return UsageError("大小“" + operands[1] + "”应为数字加 k 或 m。");
        inputs.sourcePath = operands[0];
        inputs.targetFolder = operands[2];
    } else if (command == "merge") {
        if (operands.size() != 2) return UsageError("merge 需要两个参数：合并信息文件、目标文件夹。");
        inputs.splitMode = false;
        inputs.sourcePath = operands[0];
        inputs.targetFolder = operands[1];
        inputs.verifyPieces = verifyPieces;
    } else {
        inputs.splitMode = false;
        inputs.listMode = true;
        if (nameNumber) {
            if (nameNumber->empty() || nameNumber->size() > 9 ||
                nameNumber->find_first_not_of("0123456789") != std::string::npos)
                return UsageError(kBadNameNumber);
            inputs.selectedEntry = std::stoi(*nameNumber) - 1;
            if (inputs.selectedEntry < 0) return UsageError(kBadNameNumber);
        }
        if (operands.size() < 2) return UsageError("join 需要目标文件夹和至少一个文件。");
        inputs.targetFolder = operands[0];
        inputs.listEntries.assign(operands.begin() + 1, operands.end());
        if (inputs.selectedEntry >= static_cast<int>(inputs.listEntries.size()))
            return UsageError("--name 的序号超出了文件个数。");
    }

    return console.Tell(RunTask(
        inputs, options, [&console](float percent) { console.ShowProgress(percent); }, ProcessInterrupt()));
}

int Run(std::vector<std::string> arguments) {
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") {
        WriteText(arguments.empty() ? stderr : stdout, kUsage);
        return arguments.empty() ? kUsageError : 0;
    }
    const std::string command = arguments[0];
    if (command == "mail") return RunMailCommand({arguments.begin() + 1, arguments.end()}, UsageError);
    if (command != "split" && command != "merge" && command != "join" && command != "verify")
        return UsageError("不认识的命令“" + command + "”。");

    // Options come before the operands; "--" ends them, so an operand may begin with "-".
    bool writeBatchFile = false;
    bool verifyPieces = true;
    std::optional<std::string> nameNumber;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !operands.empty() || argument.size() < 2 || argument[0] != '-') {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (command == "split" && argument == "--bat") {
            writeBatchFile = true;
        } else if (command == "merge" && argument == "--no-verify") {
            verifyPieces = false;
        } else if (command == "join" && argument == "--name") {
            if (i + 1 == arguments.size()) return UsageError(kBadNameNumber);
            nameNumber = arguments[++i];
        } else {
            return UsageError("不认识的选项“" + argument + "”。");
        }
    }

    Console console;
    if (command == "verify") {
        if (operands.size() != 1) return UsageError("verify 需要一个参数：合并信息文件。");
        // Every piece against the checksum list: one line for all intact, else one line a fault.
        return console.Tell(VerifyPieces(operands[0], ProcessInterrupt()));
    }
    TaskOptions options;
    options.wantsSplitBatchFile = [writeBatchFile] { return writeBatchFile; };
    return RunFileTask(command, operands, verifyPieces, nameNumber, options, console);
}

}  // namespace
}  // namespace quilvane

int main(int argc, char** argv) {
    // Ctrl+C, termination or a closed console stop the task, which removes its temporary files.
    quilvane::InstallInterruptHandlers();
    const int status = quilvane::Run(quilvane::Utf8Arguments(argc, argv));
    // A task that was done before it could stop says so and ends as done.
    if (status != 0 && quilvane::ProcessInterrupt().Requested()) quilvane::EndAsInterrupted();
    return status;
}
