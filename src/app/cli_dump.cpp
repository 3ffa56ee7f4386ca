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
    j["Kind"] = f.Kind;
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

    ordered_json j;
    j["Version"] = version;
    j["ColumnCount"] = rs.ColumnCount;
    j["RowCount"] = rs.RowCount;
    j["BackgroundColor"] = rs.BackgroundColor;
    j["PageWidth"] = rs.PageWidth;
    j["PageHeight"] = rs.PageHeight;
    j["MarginLeft"] = rs.MarginLeft;
    j["MarginRight"] = rs.MarginRight;
    j["MarginTop"] = rs.MarginTop;
    j["MarginBottom"] = rs.MarginBottom;
    j["ColumnGap"] = rs.ColumnGap;
    j["ColumnWidth"] = rs.ColumnWidth;
    j["ColumnHeight"] = rs.ColumnHeight;
    j["FieldSpacing"] = rs.FieldSpacing;
    j["UserName"] = utf8(rs.UserName);
    j["ComputerName"] = utf8(rs.ComputerName);
    j["Reserved1"] = rs.Reserved1;
    j["Reserved2"] = rs.Reserved2;
    j["RowLineColor"] = rs.RowLineColor;
    j["RowLineStyle"] = rs.RowLineStyle;
    j["ColumnLineColor"] = rs.ColumnLineColor;
    j["ColumnLineStyle"] = rs.ColumnLineStyle;
    ordered_json columns = ordered_json::array();
    for (const auto &c : rs.Columns) {
        ordered_json col;
        col["Index"] = c->Index;
        col["Left"] = c->Left;
        col["Top"] = c->Top;
        col["Width"] = c->Width;
        col["Height"] = c->Height;
        col["BackgroundOn"] = c->BackgroundOn;
        col["BackgroundColor"] = c->BackgroundColor;
        ordered_json fields = ordered_json::array();
        for (const auto &f : c->Fields)
            fields.push_back(fieldJson(*f));
        col["Fields"] = std::move(fields);
        columns.push_back(std::move(col));
    }
    j["Columns"] = std::move(columns);
    const std::string out = j.dump(2);
    std::fwrite(out.data(), 1, out.size(), stdout);
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
