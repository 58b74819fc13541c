#include "settings/WSettings.h"

#include "gui/GadgetFactory.h"
#include "gui/GuiFont.h"
#include "gui/SystemDriver.h"
#include "settings/ConfigLocation.h"

#include <QFileInfo>

#include <span>

namespace {
constexpr int DialogStyle = WindowStyle::TitleBar | WindowStyle::ToolWindow | WindowStyle::ClientCoords
    | WindowStyle::Hidden | WindowStyle::Centred; // centred on the main window
constexpr int PushButtonStyle = ButtonStyle::Push | ButtonStyle::PushLike;
constexpr int CheckBoxStyle = ButtonStyle::CheckBox;
constexpr int GroupPanelStyle = PanelStyle::Group;
constexpr int SwatchStyle = PanelStyle::Sunken | PanelStyle::Active; // active, so that it reports the mouse

const QString PreviewSample = QStringLiteral("function test()\n"
                                             "\tlocal value = (123 + 123)\n"
                                             "\tlocal str = \"lolzor\" -- Comment :)\n"
                                             "end");

// The sample never changes, so the preview is formatted by fixed ranges and needs neither the lexer
// nor the keyword list.
struct TPreviewRange {
    int pos;
    int length; // -1: to the end
};
constexpr TPreviewRange TextRanges[] = { { 0, -1 } };
constexpr TPreviewRange CommentRanges[] = { { 65, 13 } };
constexpr TPreviewRange NumberRanges[] = { { 32, 3 }, { 38, 3 } };
constexpr TPreviewRange BracketRanges[] = { { 31, 1 }, { 41, 1 }, { 13, 2 } };
constexpr TPreviewRange SignRanges[] = { { 29, 1 }, { 54, 1 } };
constexpr TPreviewRange KeywordRanges[] = { { 0, 8 }, { 17, 5 }, { 44, 5 }, { 79, 3 } };
constexpr TPreviewRange StringRanges[] = { { 56, 8 } };

// One row of the dialog: a token class with its gadgets.
struct TClassRow {
    const char* label;
    TGadget* TWSettings::*swatch;
    TGadget* TWSettings::*bold;
    TGadget* TWSettings::*italic;
    int (TWSettings::*chooseColour)();
    std::span<const TPreviewRange> ranges;
};

// In TTokenClass order. Text comes first because its range covers the whole preview and the later
// classes paint over it.
const TClassRow Rows[TokenClassCount] = {
    { "Text color", &TWSettings::colText, &TWSettings::bTextBold, &TWSettings::bTextItalic, &TWSettings::TextColor,
        TextRanges },
    { "Comment color", &TWSettings::colComment, &TWSettings::bCommentBold, &TWSettings::bCommentItalic,
        &TWSettings::CommentColor, CommentRanges },
    { "Number color", &TWSettings::colNumber, &TWSettings::bNumberBold, &TWSettings::bNumberItalic,
        &TWSettings::NumberColor, NumberRanges },
    { "Bracket color", &TWSettings::colBracket, &TWSettings::bBracketBold, &TWSettings::bBracketItalic,
        &TWSettings::BracketColor, BracketRanges },
    { "Sign color", &TWSettings::colSign, &TWSettings::bSignBold, &TWSettings::bSignItalic, &TWSettings::SignColor,
        SignRanges },
    { "Keyword color", &TWSettings::colkeyword, &TWSettings::bkeywordBold, &TWSettings::bkeywordItalic,
        &TWSettings::KeywordColor, KeywordRanges },
    { "String color", &TWSettings::colString, &TWSettings::bStringBold, &TWSettings::bStringItalic,
        &TWSettings::StringColor, StringRanges },
};

// Opens the colour requester on (r, g, b); false when cancelled, otherwise the three take the answer.
template <typename Component> bool PickColour(Component& r, Component& g, Component& b)
{
    if (!RequestColor(r, g, b))
        return false;
    r = Component(ChosenRed() & 0xff);
    g = Component(ChosenGreen() & 0xff);
    b = Component(ChosenBlue() & 0xff);
    return true;
}
} // namespace

int TWSettings::Init(TGadget* mainWindow, TGadget* mainTextArea)
{
    mainTextarea = mainTextArea;
    Window = MakeWindow("Settings", 0, 0, 320, 415, mainWindow, DialogStyle);
    MakeLabel("Tarvane.exe path:", 5, 5, 310, 15, Window, 0);
    pathGame = MakeTextField(5, 20, 280, 20, Window, 0);
    bPathGame = MakeButton("...", 290, 20, 25, 20, Window, PushButtonStyle);
    MakeLabel("tarvane_dedicated.exe path:", 5, 45, 310, 15, Window, 0);
    pathDedi = MakeTextField(5, 60, 280, 20, Window, 0);
    bPathDedi = MakeButton("...", 290, 60, 25, 20, Window, PushButtonStyle);
    pColors = MakePanel(5, 85, 310, 225, Window, GroupPanelStyle, "Colors");
    colBack = MakePanel(5, 5, 20, 20, pColors, SwatchStyle);
    colBack->SetColor(255, 255, 255);
    MakeLabel("Background color", 30, 7, 120, 15, pColors, 0);
    bIndent = MakeButton("Auto indent tabs", 160, 5, 140, 20, pColors, CheckBoxStyle);
    for (int k = 0; k < TokenClassCount; ++k) {
        const TClassRow& row = Rows[k];
        const int y = 30 + 25 * k;
        this->*row.swatch = MakePanel(5, y, 20, 20, pColors, SwatchStyle);
        MakeLabel(row.label, 30, y + 2, 120, 15, pColors, 0);
        this->*row.bold = MakeButton("Bold", 160, y, 70, 20, pColors, CheckBoxStyle);
        this->*row.italic = MakeButton("Italic", 240, y, 70, 20, pColors, CheckBoxStyle);
    }
    MakeLabel("Preview:", 5, 315, 100, 15, Window, 0);
    Textarea = MakeTextArea(5, 330, 310, 80, Window, 0);
    Textarea->SetFont(LibraryFont(FontKind::Monospaced, 10, 0));
    // The mouse can still select in the preview; the keyboard cannot change it.
    Textarea->SetFilter(NothingFilter, nullptr);
    Textarea->ReplaceText(0, -1, PreviewSample, TextUnit::Chars);

    configPath = ConfigPathForThisRun();
    return LoadCfg();
}

int TWSettings::Update()
{
    Changed = 1;
    for (TGadget* area : { mainTextarea, colBack, Textarea }) {
        if (area)
            area->SetColor(values.backR, values.backG, values.backB);
    }
    const TColourScheme scheme = values.Scheme();
    for (int k = 0; k < TokenClassCount; ++k) {
        const TClassRow& row = Rows[k];
        const TPartColour& colour = scheme.Classes[k];
        (this->*row.swatch)->SetColor(colour.R, colour.G, colour.B);
        for (const TPreviewRange& range : row.ranges)
            Textarea->SetStyle(colour.R, colour.G, colour.B, colour.Style, range.pos, range.length, TextUnit::Chars);
    }
    return 0;
}

void TWSettings::SetValues(const TConfigRecord& settings)
{
    values = settings;
    values.TakeBoxStates();
    Show();
    Update();
}

int TWSettings::BackColor()
{
    // Update gives the main text area the new background at once.
    if (!PickColour(values.backR, values.backG, values.backB))
        return 0;
    return ColourChosen();
}

// A chosen colour is a change worth keeping at once, even before the dialog closes.
int TWSettings::ColourChosen()
{
    Update();
    return SaveCfg();
}

int TWSettings::ChooseClassColour(TTokenClass token)
{
    TClassSetting& colour = values.Class(token);
    if (!PickColour(colour.r, colour.g, colour.b))
        return 0;
    return ColourChosen();
}

int TWSettings::TextColor()
{
    return ChooseClassColour(TTokenClass::Text);
}

int TWSettings::CommentColor()
{
    return ChooseClassColour(TTokenClass::Comment);
}

int TWSettings::NumberColor()
{
    return ChooseClassColour(TTokenClass::Number);
}

int TWSettings::BracketColor()
{
    return ChooseClassColour(TTokenClass::Bracket);
}

int TWSettings::SignColor()
{
    return ChooseClassColour(TTokenClass::Sign);
}

int TWSettings::KeywordColor()
{
    return ChooseClassColour(TTokenClass::Keyword);
}

int TWSettings::StringColor()
{
    return ChooseClassColour(TTokenClass::String);
}

int TWSettings::NothingFilter(TEvent&, void*)
{
    return 0;
}

// A state byte other than 0 and 1 shows its box indeterminate.
void TWSettings::Show()
{
    pathGame->SetText(values.gamePath);
    pathDedi->SetText(values.dediPath);
    bIndent->SetSelected(values.indent);
    for (int k = 0; k < TokenClassCount; ++k) {
        const TClassRow& row = Rows[k];
        (this->*row.bold)->SetSelected(values.classes[k].bold);
        (this->*row.italic)->SetSelected(values.classes[k].italic);
    }
}

// The bytes decide, not a flag of what was touched: a file cut short or written by an older editor
// differs from what this one writes, and so it is written whole at the next chance.
int TWSettings::SaveCfg()
{
    QByteArray bytes = values.Bytes();
    if (fileBytes != bytes) {
        writeFailed = !values.Save(configPath);
        if (writeFailed)
            return 0;
        fileBytes = std::move(bytes);
    }
    writeFailed = false;
    failureTold = false;
    return 0;
}

int TWSettings::CreateCfg()
{
    const TConfigRecord defaults;
    if (defaults.Save(configPath))
        fileBytes = defaults.Bytes();
    return 0;
}

// A file that cannot be read nor created leaves the defaults for this run; one that exists but
// cannot be read is not overwritten with defaults here (the next SaveCfg replaces it).
int TWSettings::LoadCfg()
{
    bool opened = false;
    QByteArray taken;
    const TConfigRecord record = TConfigRecord::Load(configPath, &opened, &taken);
    fileBytes.reset();
    if (opened)
        fileBytes = std::move(taken);
    else if (!QFileInfo::exists(configPath))
        CreateCfg();
    SetValues(record);
    return 0;
}

// An indeterminate box reports -1, which the value holds as 255.
bool TWSettings::HandleAction(const TGadget* source)
{
    if (!source)
        return false;
    if (source == pathGame || source == pathDedi) {
        (source == pathGame ? values.gamePath : values.dediPath) = source->GetText();
        return true;
    }
    if (source == bIndent) {
        values.indent = uint8_t(ButtonValue(bIndent));
        return true;
    }
    for (int k = 0; k < TokenClassCount; ++k) {
        const TClassRow& row = Rows[k];
        const bool bold = source == this->*row.bold;
        if (bold || source == this->*row.italic) {
            TClassSetting& setting = values.classes[k];
            (bold ? setting.bold : setting.italic) = uint8_t(ButtonValue(bold ? this->*row.bold : this->*row.italic));
            Update();
            return true;
        }
    }
    return ChoosePath(source);
}

bool TWSettings::IsStyleBox(const TGadget* gadget) const
{
    if (!gadget)
        return false;
    for (const TClassRow& row : Rows)
        if (gadget == this->*row.bold || gadget == this->*row.italic)
            return true;
    return false;
}

bool TWSettings::ColourSwatchClicked(const TGadget* source)
{
    if (!source)
        return false;
    if (source == colBack) {
        BackColor();
        return true;
    }
    for (const TClassRow& row : Rows) {
        if (source == this->*row.swatch) {
            (this->*row.chooseColour)();
            return true;
        }
    }
    return false;
}

bool TWSettings::ChoosePath(const TGadget* button)
{
    TGadget* field = nullptr;
    QString* path = nullptr;
    QString title;
    if (button && button == bPathGame) {
        field = pathGame;
        path = &values.gamePath;
        title = QStringLiteral("Select Tarvane.exe");
    } else if (button && button == bPathDedi) {
        field = pathDedi;
        path = &values.dediPath;
        title = QStringLiteral("Select tarvane_dedicated.exe");
    } else {
        return false;
    }
    const QString chosen = RequestFile(title, QStringLiteral("Programs:exe,+x;All files:*"), false, QString());
    if (!chosen.isEmpty()) {
        *path = chosen;
        field->SetText(chosen);
    }
    return true;
}

void TWSettings::Open()
{
    if (!IsHidden(Window, false))
        return;
    Changed = 0;
    Window->SetShow(1);
}

bool TWSettings::Close()
{
    Window->SetShow(0);
    if (mainTextarea)
        mainTextarea->Activate(ActivateCommand::Focus);
    SaveCfg();
    return Changed != 0;
}

QString TWSettings::TakeWriteFailure()
{
    if (!writeFailed || failureTold)
        return QString();
    failureTold = true;
    return QStringLiteral("The settings could not be written to \"%1\". They stay in effect; the editor tries "
                          "again when the Settings dialog closes and when it ends.")
        .arg(configPath);
}
