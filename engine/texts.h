#pragma once
// Every text the engine shows a user, in one place. The first group are the program's
// established notices and must stay exactly as they are.

#include <cmath>
#include <string>

namespace quilvane::texts {

inline constexpr const char* kSplitDone = "文件分割完毕!";
inline constexpr const char* kMergeDone = "文件合并完毕!";
inline constexpr const char* kNoFileToSplit = "请指定待分割文件!";
inline constexpr const char* kNoFileToMerge = "请指定待合并文件!";
inline constexpr const char* kNoTargetFolder = "请指定保存目录!";
inline constexpr const char* kSizeBelowOne = "分割大小不能小于1!";
inline constexpr const char* kNoNeedToSplit = "你不需要分割这个文件!";

// Failures of file operations: the path and the system's reason.
inline std::string OpenFailed(const std::string& path, const std::string& reason) {
    return "打开文件“" + path + "”失败：" + reason;
}
inline std::string CreateFailed(const std::string& path, const std::string& reason) {
    return "创建文件“" + path + "”失败：" + reason;
}
inline std::string ReadFailed(const std::string& path, const std::string& reason) {
    return "读取文件“" + path + "”失败：" + reason;
}
inline std::string WriteFailed(const std::string& path, const std::string& reason) {
    return "写入文件“" + path + "”失败：" + reason;
}
inline std::string DeleteFailed(const std::string& path, const std::string& reason) {
    return "删除文件“" + path + "”失败：" + reason;
}
inline std::string ReplaceFailed(const std::string& path, const std::string& reason) {
    return "保存文件“" + path + "”失败：" + reason;
}
inline std::string FileShrank(const std::string& path) { return "读取文件“" + path + "”失败：文件在处理过程中变短了"; }
// A size as people read it: "4.0 GB", "250 KB", "17 字节".
inline std::string SizeText(unsigned long long bytes) {
    const char* units[] = {"KB", "MB", "GB", "TB"};
    if (bytes < 1024) return std::to_string(bytes) + " 字节";
    double value = static_cast<double>(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit < 3) value /= 1024, ++unit;
    const int tenths = static_cast<int>(std::lround(value * 10));
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + units[unit];
}
inline std::string FileTooLarge(const std::string& path, unsigned long long length, unsigned long long limit) {
    return "文件“" + path + "”太大（" + SizeText(length) + "），不能超过" + SizeText(limit);
}
inline std::string FileTooLargeForMemory(const std::string& path, unsigned long long length) {
    return "文件“" + path + "”太大（" + SizeText(length) + "），内存放不下";
}
inline constexpr const char* kTemporaryFileGone = "写好的文件在放到位之前不见了";
inline constexpr const char* kInterrupted = "任务被中断：未完成的临时文件已删除，原有的文件没有改动";

// One task at a time in a folder, and the moves of a run that died halfway.
inline std::string FolderBusy(const std::string& folder) {
    return "文件夹“" + folder + "”正被另一个分割或合并任务使用，请等它完成后再试";
}
inline std::string FolderNotWritable(const std::string& folder, const std::string& reason) {
    return "无法写入文件夹“" + folder + "”：" + reason;
}
inline std::string RolledBack(const std::string& folder) {
    return "文件夹“" + folder + "”中有一次被中断的任务没有完成，已撤销它：原有的文件已恢复，它的临时文件已删除";
}
inline std::string JournalUnreadable(const std::string& path, const std::string& reason) {
    return "无法读懂被中断任务的记录文件“" + path + "”（" + reason +
           "），为免弄乱文件没有继续；请检查文件夹中的文件后删除这个记录文件";
}
inline std::string RollBackFailed(const std::string& folder, const std::string& reason) {
    return "无法撤销文件夹“" + folder + "”中被中断的任务：" + reason + "；下次使用这个文件夹时会再试";
}
inline constexpr const char* kFolderReadOnly = "文件夹无法写入";
inline std::string RollBackBlocked(const std::string& path) {
    return "“" + path + "”已被别的文件占用，原来的文件保留在旁边的备份文件中";
}

// Checksums of the pieces.
inline constexpr const char* kNoSha256 = "系统无法计算SHA-256校验值";
inline std::string PieceNotAsListed(const std::string& path) {
    return "分块文件“" + path + "”与校验文件记录的不符：它已损坏，或者分块的顺序被调换了";
}
inline std::string PieceDamaged(const std::string& path) { return PieceNotAsListed(path) + "，无法合并"; }
inline std::string ChecksumListUnreadable(const std::string& path, const std::string& reason) {
    return "校验文件“" + path + "”无法使用（" + reason + "）；删除它就可以不经校验直接合并";
}
inline constexpr const char* kListNotAList = "不是每行一个SHA-256校验值和分块文件名的格式";
inline constexpr const char* kListNamesOtherPieces = "列出的不是合并信息文件所说的那些分块";
inline constexpr const char* kAllPiecesIntact = "所有分块完好";
inline std::string NoChecksumList(const std::string& path) { return "找不到校验文件“" + path + "”，无法检查分块"; }

// Refusals before anything is written.
inline std::string SizeNotANumber(const std::string& size) { return "分割大小“" + size + "”不是数字"; }
inline std::string SizeTextUnreadable(const std::string& size) {
    const std::string shown = size.size() <= 24 ? size : size.substr(0, 12) + "…" + size.substr(size.size() - 8);
    return "分割大小“" + shown + "”（" + std::to_string(size.size()) +
           "位）写进合并信息文件后无法读回，请去掉前面多余的0";
}
inline std::string NotARegularFile(const std::string& path) {
    return "“" + path + "”不是普通文件（可能是管道或设备），无法处理";
}
inline std::string OutputIsFolder(const std::string& path) {
    return "“" + path + "”是一个文件夹，无法写入同名的文件，请选择其他目标地址";
}
inline std::string OutputIsReadOnly(const std::string& path) {
    return "“" + path + "”是只读文件，无法替换，请先去掉它的只读属性或选择其他目标地址";
}
inline std::string NameReserved(const std::string& path) {
    return "“" + path + "”是本程序自己使用的文件名，请选择其他文件名或目标地址";
}
inline std::string NameTooLong(const std::string& path, std::size_t longestName) {
    return "文件名或路径太长，文件系统无法保存“" + path + "”（文件名最长" + std::to_string(longestName) +
           "个字符），请改短文件名或选择较短的目标地址";
}
inline std::string PiecesOfAnotherFile(const std::string& descriptor) {
    return "目标文件夹中已有另一个文件的分块（见“" + descriptor + "”），分割会覆盖它们，请选择其他目标地址";
}
inline std::string BatchLineTooLong(const std::string& path) { return "路径“" + path + "”太长，无法写入批处理文件"; }
inline std::string NameNotRepresentable(const std::string& name) {
    return "文件名“" + name + "”含有当前代码页无法表示的字符，无法写入合并信息文件，请先改名";
}
inline std::string NameHasQuestionMark(const std::string& name) {
    return "文件名“" + name + "”含有“?”，无法写入合并信息文件，请先改名";
}
inline std::string PathNotRepresentable(const std::string& path) {
    return "路径“" + path + "”含有当前代码页无法表示的字符，无法写入批处理文件";
}
inline std::string WouldOverwriteInput(const std::string& output, const std::string& input) {
    return "输出文件“" + output + "”就是输入文件“" + input + "”，这样会毁掉输入，请选择其他目标地址";
}
inline std::string DescriptorMalformed(const std::string& path, const std::string& what) {
    return "合并信息文件“" + path + "”已损坏：" + what;
}
inline std::string DescriptorNameUnsafe(const std::string& path, const std::string& name) {
    return "合并信息文件“" + path + "”中的文件名“" + name + "”不是合法的文件名";
}
inline std::string PieceNotFound(const std::string& path) { return "找不到分块文件“" + path + "”"; }
inline std::string PieceLengthWrong(const std::string& path, unsigned long long actual, unsigned long long expected) {
    return "分块文件“" + path + "”的长度是" + std::to_string(actual) + "字节，应为" + std::to_string(expected) + "字节";
}
inline std::string PieceMissing(const std::string& path) { return PieceNotFound(path) + "，无法合并"; }
inline std::string PieceWrongLength(const std::string& path, unsigned long long actual, unsigned long long expected) {
    return PieceLengthWrong(path, actual, expected) + "，无法合并";
}
inline std::string ListEntryMissing(const std::string& path) { return "找不到待合并文件“" + path + "”"; }
inline std::string JoinedLengthWrong(const std::string& path, unsigned long long actual, unsigned long long expected) {
    return "合并失败：文件“" + path + "”的长度是" + std::to_string(actual) + "字节，应为" + std::to_string(expected) +
           "字节";
}
// What is wrong with a descriptor, for DescriptorMalformed.
inline constexpr const char* kNoSeparator = "缺少文件名后的“?”";
inline constexpr const char* kNoFileName = "缺少文件名";
inline constexpr const char* kBadFields = "分块信息无法识别";
inline constexpr const char* kBadUnit = "分块大小的单位不是k或m";
inline constexpr const char* kZeroField = "分块大小、块数或文件长度为0";
inline constexpr const char* kCountMismatch = "块数与分块大小和文件长度不符";

}  // namespace quilvane::texts
