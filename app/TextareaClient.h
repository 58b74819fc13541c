// The text area as the colouring and the undo history see it.
#pragma once

#include "highlight/TextClient.h"

#include <vector>

class TGadget;
class TScriptArea;

class TTextareaClient : public TTextClient {
public:
    explicit TTextareaClient(TGadget& textarea);
    ~TTextareaClient() override;

    int Length() const override;
    int LastLine() const override;
    int CursorLine() const override;
    int LineStart(int line) const override;
    int LineOf(int pos) const override;
    QString Text(int pos, int length) const override;
    QString LineText(int line) const override;
    std::optional<TTextParts> TextInPlace() const override;
    bool Replace(int pos, int length, const QString& text) override;
    void Select(int pos, int length) override;
    int SelectionStart() const override;
    int SelectionLength() const override;
    void SetStyles(std::span<const TRunColour> palette, std::span<const TColouredRun> runs) override;

private:
    TGadget& area;
    TScriptArea* script; // the same gadget when it is the script's text area, which sets many styles at once
};
