#include "app/CheckCommand.h"

#include "lua/ScriptCheck.h"
#include "resources/EmbeddedFiles.h"
#include "resources/HookCatalogue.h"
#include "resources/ScriptText.h"
#include "resources/Stream.h"
#include "settings/ConfigLocation.h"
#include "settings/ConfigRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {
const char* SeverityName(ProblemSeverity severity)
{
    switch (severity) {
    case ProblemSeverity::Error:
        return "error";
    case ProblemSeverity::Warning:
        return "warning";
    case ProblemSeverity::Hint:
        break;
    }
    return "hint";
}

void Say(std::FILE* err, const QString& message)
{
    std::fputs(("tarvane-le: " + message + u'\n').toUtf8().constData(), err);
}

// The whole file, or nothing with the reason in `error`.
std::optional<QByteArray> ReadFile(const QString& path, QString& error)
{
    if (QFileInfo(path).isDir()) {
        error = QStringLiteral("it is a folder");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

QStringList ApiNames()
{
    RegisterEmbeddedFiles();
    QStringList names;
    if (auto stream = OpenReadStream(QStringLiteral("incbin::incbins/keywords.txt"))) {
        while (!StreamEof(*stream))
            names << stream->ReadLine();
    }
    return names;
}
} // namespace

std::vector<TGameHook> LoadExtraHooks(const QString& path, QStringList& problems)
{
    if (!QFileInfo::exists(path))
        return {};
    QString readError;
    const auto bytes = ReadFile(path, readError);
    if (!bytes) {
        problems << QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(path), readError);
        return {};
    }
    QStringList errors;
    std::vector<TGameHook> hooks = ParseExtraHooks(DecodeScript(*bytes).text, &errors);
    for (const QString& error : errors)
        problems << QDir::toNativeSeparators(path) + QStringLiteral(": ") + error;
    return hooks;
}

int RunCheckCommand(const QStringList& files, const QString& programFolder, std::FILE* out, std::FILE* err)
{
    TCheckInput input;
    input.apiNames = ApiNames();
    // The settings the editor would use, read if they are there; a missing file is no problem.
    const QString configPath = ConfigPathForProgram(programFolder);
    const QString hooksPath = ExtraHooksPath(QFileInfo(configPath).absolutePath());
    QStringList problems;
    input.extraHooks = LoadExtraHooks(hooksPath, problems);
    for (const QString& problem : problems)
        Say(err, problem);
    if (QFileInfo::exists(configPath)) {
        const QString game = TConfigRecord::Load(configPath).gamePath;
        if (!game.isEmpty())
            input.gameFolder = QFileInfo(QDir(programFolder).absoluteFilePath(game)).absolutePath();
    }

    TScriptChecker checker;
    int status = 0;
    bool linterNoted = false;
    for (const QString& file : files) {
        QString readError;
        const auto bytes = ReadFile(file, readError);
        if (!bytes) {
            Say(err, QStringLiteral("cannot read %1: %2").arg(file, readError));
            status = 2;
            continue;
        }
        input.text = DecodeScript(*bytes).text;
        input.scriptPath = QFileInfo(file).absoluteFilePath();
        const TCheckResult result = checker.Check(input);
        if (!result.linterNote.isEmpty() && !linterNoted) {
            Say(err, result.linterNote);
            linterNoted = true;
        }
        int lineStart = 0;
        int line = 0;
        for (const TProblem& problem : result.problems) {
            // Columns in characters: a surrogate pair is one.
            for (; line < problem.line; ++line)
                lineStart = int(input.text.indexOf(u'\n', lineStart)) + 1;
            const QStringView before = QStringView(input.text).mid(lineStart, problem.start - lineStart);
            const qsizetype column = before.size()
                - std::count_if(before.begin(), before.end(), [](QChar c) { return c.isLowSurrogate(); });
            QString message = problem.message;
            if (problem.severity == ProblemSeverity::Error && result.syntaxError)
                message += QStringLiteral(" (the first syntax error: Lua reads no further)");
            const QByteArray text = QFile::encodeName(file) + ':' + QByteArray::number(problem.line + 1) + ':'
                + QByteArray::number(column + 1) + ": " + SeverityName(problem.severity) + ": " + message.toUtf8()
                + '\n';
            std::fputs(text.constData(), out);
        }
        const bool error = std::any_of(result.problems.begin(), result.problems.end(),
            [](const TProblem& problem) { return problem.severity == ProblemSeverity::Error; });
        if (error && status == 0)
            status = 1;
    }
    return status;
}
