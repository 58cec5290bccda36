// quilvane: the split and merge engine from the command line.
//   quilvane split [--bat] SOURCE SIZE TARGET
//   quilvane merge DESCRIPTOR TARGET
//   quilvane join [--name N] TARGET FILE...
//   quilvane mail --server HOST[:PORT] --from ADDR --to ADDR[;ADDR...] [options]

#include <cstdio>
#include <string>
#include <vector>

#include "console.h"
#include "mail_command.h"
#include "task.h"

namespace quilvane {
namespace {

constexpr const char* kUsage =
    "用法：\n"
    "  quilvane split [--bat] 源文件 大小 目标文件夹\n"
    "      把源文件分割成 001.pe、002.pe……，并写出合并信息文件（.hpe）。\n"
    "      大小是数字加单位，如 100k、0100k、1m；--bat 同时写出自动合并的批处理文件。\n"
    "  quilvane merge 合并信息文件 目标文件夹\n"
    "      按合并信息文件把分块合并回原文件。\n"
    "  quilvane join [--name N] 目标文件夹 文件...\n"
    "      把文件按顺序合并成一个 .txt 文件；第 N 个文件（默认第 1 个）给出文件名。\n"
    "  quilvane mail --server 服务器[:端口] --from 发件人 --to 收件人[;收件人...] [--user 用户名]\n"
    "                [--subject 标题] [--body-file 内容文件] [--attach 附件]... [--tls starttls|implicit]\n"
    "                [--ca-file 证书文件]\n"
    "      发送一封邮件，密码取自环境变量 QUILVANE_SMTP_PASSWORD；端口默认为 25，465 端口从一开始就加密。\n";

constexpr int kUsageError = 2;

class ConsoleHost : public TaskHost {
public:
    explicit ConsoleHost(bool writeBatchFile) : writeBatchFile_(writeBatchFile) {}

    void ShowNotice(const std::string& text, NoticeKind kind) override {
        ClearProgressLine();
        WriteText(kind == NoticeKind::Success ? stdout : stderr, text + "\n");
    }
    void SetProgress(float percent) override {
        if (!showProgress_) return;
        const int shown = static_cast<int>(percent);
        if (shown == 0) return ClearProgressLine();
        WriteText(stderr, "\r进度 " + std::to_string(shown) + "%");
        progressShown_ = true;
    }
    void LetPendingMessagesRun() override {}
    bool WantsSplitBatchFile() override { return writeBatchFile_; }
    bool ClosesAfterSuccess() override { return false; }
    void CloseMainWindow() override {}

private:
    void ClearProgressLine() {
        if (progressShown_) WriteText(stderr, "\r            \r");
        progressShown_ = false;
    }

    bool writeBatchFile_;
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

int Run(std::vector<std::string> arguments) {
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") {
        WriteText(arguments.empty() ? stderr : stdout, kUsage);
        return arguments.empty() ? kUsageError : 0;
    }
    const std::string command = arguments[0];
    arguments.erase(arguments.begin());
    if (command == "mail") return RunMailCommand(arguments, UsageError);
    TaskInputs inputs;
    bool writeBatchFile = false;

    if (command == "split") {
        if (!arguments.empty() && arguments[0] == "--bat") {
            writeBatchFile = true;
            arguments.erase(arguments.begin());
        }
        if (arguments.size() != 3) return UsageError("split 需要三个参数：源文件、大小、目标文件夹。");
        if (!ParseSize(arguments[1], inputs)) return UsageError("大小“" + arguments[1] + "”应为数字加 k 或 m。");
        inputs.sourcePath = arguments[0];
        inputs.targetFolder = arguments[2];
    } else if (command == "merge") {
        if (arguments.size() != 2) return UsageError("merge 需要两个参数：合并信息文件、目标文件夹。");
        inputs.splitMode = false;
        inputs.sourcePath = arguments[0];
        inputs.targetFolder = arguments[1];
    } else if (command == "join") {
        inputs.splitMode = false;
        inputs.listMode = true;
        if (arguments.size() >= 2 && arguments[0] == "--name") {
            const std::string& number = arguments[1];
            if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos)
                return UsageError("--name 后应为文件的序号（从 1 起）。");
            inputs.selectedEntry = std::stoi(number) - 1;
            if (inputs.selectedEntry < 0) return UsageError("--name 后应为文件的序号（从 1 起）。");
            arguments.erase(arguments.begin(), arguments.begin() + 2);
        }
        if (arguments.size() < 2) return UsageError("join 需要目标文件夹和至少一个文件。");
        inputs.targetFolder = arguments[0];
        inputs.listEntries.assign(arguments.begin() + 1, arguments.end());
        if (inputs.selectedEntry >= static_cast<int>(inputs.listEntries.size()))
            return UsageError("--name 的序号超出了文件个数。");
    } else {
        return UsageError("不认识的命令“" + command + "”。");
    }

    ConsoleHost host(writeBatchFile);
    return StartTask(inputs, host) == TaskOutcome::Done ? 0 : 1;
}

}  // namespace
}  // namespace quilvane

int main(int argc, char** argv) { return quilvane::Run(quilvane::Utf8Arguments(argc, argv)); }
