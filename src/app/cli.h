#pragma once
// Subcommands of dorlix-cli. Each cli_*.cpp file registers its commands with
// a static CliRegistration. A command returns the exit status: 0 success,
// 2 failure (after printing the program's German message to standard error).

#include "platform/messages.h"

#include <QStringList>

class QCommandLineParser;
class TRS;

using CliFunction = int (*)(const QStringList &args);

struct CliCommand {
    const char *usage = "";
    CliFunction fn = nullptr;
    bool needsGui = false; // fonts, images or painting: a (headless) GUI application
};

struct CliRegistration {
    CliRegistration(const char *name, const char *usage, CliFunction fn, bool needsGui = false);
};

constexpr int kCliOk = 0;
constexpr int kCliFailed = 2;

// Prints a message of the program (which may hold "\r\n") to standard error.
void CliError(const QString &text);

// While it lives, the program's messages go to standard error.
class CliStderrMessages
{
  public:
    CliStderrMessages();
    ~CliStderrMessages();
    CliStderrMessages(const CliStderrMessages &) = delete;
    CliStderrMessages &operator=(const CliStderrMessages &) = delete;
    bool Shown() const { return shown_; }

  private:
    platform::MessageHandler previous_;
    bool shown_ = false;
};

// Reads a label file; on failure the reason is on standard error.
bool CliLoadSheet(TRS &sheet, const QString &path, int *version);
// Writes a label file; on failure the reason is on standard error.
bool CliSaveSheet(TRS &sheet, const QString &path);

// Parses a command's arguments (without the command's name) with the
// parser's options. False when an option is unknown (unknown: as given,
// "--farbig") or its value is missing (missingValue: the option, "--copies");
// the caller says so in its own words.
bool CliParse(QCommandLineParser &parser, const QStringList &args, QString *unknown, QString *missingValue);
