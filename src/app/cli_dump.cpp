// dorlix-cli dump FILE: the sheet as one JSON object.
// dorlix-cli resave IN OUT: reads a label file and writes it again.
#include "cli.h"

#include "model/rs.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

using nlohmann::ordered_json;

std::string utf8(const std::string &ansi)
{
    return platform::FromAnsi(ansi).toStdString();
}

ordered_json pictureJson(const TPicture *pic)
{
    if (!pic)
        return nullptr;
    ordered_json j;
    if (pic->IsMetafile()) {
        j["Type"] = pic->GetMetafileType() == TPicture::MetafileType::Emf ? "emf" : "wmf";
        j["Size"] = pic->Bytes().size();
    } else {
        j["Type"] = "bitmap";
        j["Width"] = pic->Width();
        j["Height"] = pic->Height();
        j["BitCount"] = pic->IsBitmap() ? int(pic->BmpInfo().bitCount) : 24;
    }
    return j;
}

ordered_json fieldJson(const TRSObject &f)
{
    ordered_json j;
    j["Kind"] = int(f.Kind);
    j["Visible"] = f.Visible;
    j["X1"] = f.X1;
    j["Y1"] = f.Y1;
    j["X2"] = f.X2;
    j["Y2"] = f.Y2;
    j["LinesTopBottom"] = f.LinesTopBottom;
    j["LinesLeftRight"] = f.LinesLeftRight;
    j["LineColor"] = f.LineColor;
    j["LineWidth"] = f.LineWidth;
    j["BackgroundColor"] = f.BackgroundColor;
    j["Text"] = utf8(f.Text);
    j["Alignment"] = f.Alignment;
    j["FontName"] = utf8(f.FontName);
    j["FontHeight"] = f.FontHeight;
    j["FontStyle"] = f.FontStyle;
    j["FontColor"] = f.FontColor;
    j["Angle"] = f.Angle;
    j["Picture"] = pictureJson(f.Picture.get());
    return j;
}

// The JSON is written as it is made, one field at a time, in the layout of
// nlohmann's dump(2): a sheet's document would take many times the sheet's
// memory if it were built whole first.
class JsonWriter
{
  public:
    explicit JsonWriter(std::FILE *out) : out_(out) {}

    // An object's members one by one; nested values are indented to depth.
    void Open(char bracket)
    {
        put(std::string(1, bracket));
        first_.push_back(true);
    }
    void OpenElement(char bracket)
    {
        next();
        Open(bracket);
    }
    void Key(const char *key)
    {
        next();
        put(ordered_json(key).dump() + ": ");
    }
    void Value(const ordered_json &value)
    {
        // Strings hold no raw line breaks: every one is the layout's.
        const std::string text = value.dump(2);
        std::size_t from = 0;
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', from)) {
            put(text.substr(from, at - from));
            lineBreak();
            from = at + 1;
        }
        put(text.substr(from));
    }
    void Member(const char *key, const ordered_json &value)
    {
        Key(key);
        Value(value);
    }
    void Element(const ordered_json &value)
    {
        next();
        Value(value);
    }
    void Close(char bracket)
    {
        const bool empty = first_.back();
        first_.pop_back();
        if (!empty)
            lineBreak();
        put(std::string(1, bracket));
    }

  private:
    void next()
    {
        if (!first_.back())
            put(",");
        first_.back() = false;
        lineBreak();
    }
    void lineBreak()
    {
        std::fputc('\n', out_);
        put(std::string(2 * first_.size(), ' '));
    }
    void put(const std::string &text) { std::fwrite(text.data(), 1, text.size(), out_); }

    std::FILE *out_;
    std::vector<bool> first_; // per open bracket: nothing written inside yet
};

int dump(const QStringList &args)
{
    if (args.size() != 1) {
        CliError(QStringLiteral("Aufruf: dorlix-cli dump DATEI"));
        return kCliFailed;
    }
    TRS rs;
    int version = 0;
    if (!CliLoadSheet(rs, args[0], &version))
        return kCliFailed;

    JsonWriter j(stdout);
    j.Open('{');
    j.Member("Version", version);
    j.Member("ColumnCount", rs.ColumnCount);
    j.Member("RowCount", rs.RowCount);
    j.Member("BackgroundColor", rs.BackgroundColor);
    j.Member("PageWidth", rs.PageWidth);
    j.Member("PageHeight", rs.PageHeight);
    j.Member("MarginLeft", rs.MarginLeft);
    j.Member("MarginRight", rs.MarginRight);
    j.Member("MarginTop", rs.MarginTop);
    j.Member("MarginBottom", rs.MarginBottom);
    j.Member("ColumnGap", rs.ColumnGap);
    j.Member("ColumnWidth", rs.ColumnWidth);
    j.Member("ColumnHeight", rs.ColumnHeight);
    j.Member("FieldSpacing", rs.FieldSpacing);
    j.Member("UserName", utf8(rs.UserName));
    j.Member("ComputerName", utf8(rs.ComputerName));
    j.Member("Reserved1", rs.Reserved1);
    j.Member("Reserved2", rs.Reserved2);
    j.Member("RowLineColor", rs.RowLineColor);
    j.Member("RowLineStyle", rs.RowLineStyle);
    j.Member("ColumnLineColor", rs.ColumnLineColor);
    j.Member("ColumnLineStyle", rs.ColumnLineStyle);
    j.Key("Columns");
    j.Open('[');
    for (const auto &c : rs.Columns) {
        j.OpenElement('{');
        j.Member("Index", c->Index);
        j.Member("Left", c->Left);
        j.Member("Top", c->Top);
        j.Member("Width", c->Width);
        j.Member("Height", c->Height);
        j.Member("BackgroundOn", c->BackgroundOn);
        j.Member("BackgroundColor", c->BackgroundColor);
        j.Key("Fields");
        j.Open('[');
        for (const auto &f : c->Fields)
            j.Element(fieldJson(*f));
        j.Close(']');
        j.Close('}');
    }
    j.Close(']');
    j.Close('}');
    std::fputc('\n', stdout);
    return kCliOk;
}

int resave(const QStringList &args)
{
    if (args.size() != 2) {
        CliError(QStringLiteral("Aufruf: dorlix-cli resave EINGABE AUSGABE"));
        return kCliFailed;
    }
    TRS rs;
    if (!CliLoadSheet(rs, args[0], nullptr))
        return kCliFailed;
    return CliSaveSheet(rs, args[1]) ? kCliOk : kCliFailed;
}

const CliRegistration dumpCommand("dump", "dump DATEI", &dump);
const CliRegistration resaveCommand("resave", "resave EINGABE AUSGABE", &resave);

} // namespace
