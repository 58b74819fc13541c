// The swatches beside the script's colour codes: a square of each valid code's colour before it, kept up
// to date a moment after the text stops changing, and the code's digits replaced by a colour the user
// picks when they Ctrl+click it.
#pragma once

#include <QString>
#include <QTimer>

#include <functional>

class TGadget;
struct TIndicator;

class TColourSwatches {
public:
    // `replace(pos, length, text)` edits the script as one undo step; false when the text area refused.
    TColourSwatches(TGadget& textarea, std::function<bool(int pos, int length, const QString& text)> replace);
    ~TColourSwatches();
    TColourSwatches(const TColourSwatches&) = delete;
    TColourSwatches& operator=(const TColourSwatches&) = delete;

    // Finds the codes and sets the swatches now, rather than when the text has rested.
    void Refresh();
    bool Pending() const { return rest.isActive(); }

private:
    void Pick(const TIndicator& swatch);

    TGadget& textarea;
    std::function<bool(int, int, const QString&)> replace;
    QTimer rest;
    int subscription = 0;
};

// The tooltip of a code's swatch, naming its colour.
QString SwatchTooltip(int red, int green, int blue);
