#pragma once
// The window with a sheet, and ways to compare and drive what its context
// menu commands change.
#include "window_testing.h"

#include <QApplication>
#include <QClipboard>

#include <sstream>
#include <string>
#include <vector>

class FieldCommands : public windowtesting::WindowTest
{
  protected:
    // Every value a field carries, its frame included, for comparisons.
    static std::string describe(const TRSObject &f)
    {
        std::ostringstream s;
        s << int(f.Kind) << '|' << f.Visible << '|' << f.X1 << ',' << f.Y1 << ',' << f.X2 << ',' << f.Y2
          << '|' << f.LinesTopBottom << f.LinesLeftRight << '|' << f.LineColor << '|' << f.LineWidth << '|'
          << f.BackgroundColor << '|' << f.Text << '|' << int(f.Alignment) << '|' << f.FontName << '|'
          << f.FontHeight << '|' << int(f.FontStyle) << '|' << f.FontColor << '|' << f.Angle << '|'
          << (f.Picture ? f.Picture->Width() : -1) << 'x' << (f.Picture ? f.Picture->Height() : -1);
        return s.str();
    }
    static std::vector<std::string> describe(const TRS &sheet)
    {
        std::vector<std::string> out;
        for (const auto &c : sheet.Columns) {
            out.push_back("column " + std::to_string(c->BackgroundOn) + " " +
                          std::to_string(c->BackgroundColor));
            for (const auto &f : c->Fields)
                out.push_back(describe(*f));
        }
        return out;
    }
    static void setClipboard(const QString &text) { QApplication::clipboard()->setText(text); }
};
