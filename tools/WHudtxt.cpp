#include "tools/WHudtxt.h"

#include "draw/Graphics.h"
#include "draw/PolledInput.h"
#include "gui/GadgetFactory.h"
#include "tools/HudText.h"
#include "tools/NumberFilters.h"
#include "tools/StartupResources.h"

#include <algorithm>

namespace {
constexpr int SunkenPanelStyle = PanelStyle::Sunken;
constexpr int PreviewWidth = 640;
constexpr int PreviewHeight = 480;
// Positions are kept within this distance of the screen, where a text can no longer show but the pixel
// arithmetic cannot overflow.
constexpr int64_t FarAway = 1 << 24;

enum Align { Left = 0, Center = 1, Right = 2 };

void AppendItems(TGadget* box, std::initializer_list<QString> items)
{
    for (const QString& item : items)
        AppendItem(box, item, 0, -1, {}, {});
    box->SelectItem(0, 1);
}

int Near(int64_t value)
{
    return static_cast<int>(std::clamp(value, -FarAway, FarAway));
}
} // namespace

void TWHudtxt::Init(TGadget* mainWindow)
{
    Window = MakeWindow("Create hudtxt...", 0, 0, 795, 480, mainWindow, ToolWindowStyle);
    Canvas = MakeCanvas(0, 0, PreviewWidth, PreviewHeight, Window, 0);
    SelectGraphics(Canvas->CanvasGraphics());
    SelectFont(StartupResources().hudFont);
    SetDrawBlend(Blend::Alpha);
    // The preview follows the mouse on its own canvas only: a press elsewhere never moves the text.
    EnablePolledInput(Canvas);

    pFields = MakePanel(640, 0, 155, 480, Window, SunkenPanelStyle, "Positon");
    bCreate = MakeButton("Create hudtxt", 5, 420, 145, 25, pFields, PushButtonStyle);
    bClose = MakeButton("Close", 5, 450, 145, 25, pFields, PushButtonStyle);
    MakeLabel("Text", 5, 5, 145, 15, pFields, 0);
    tfText = MakeTextField(5, 20, 145, 20, pFields, 0);
    tfText->SetText(QStringLiteral("Example"));
    MakeLabel("Position X:", 5, 50, 70, 15, pFields, 0);
    tfX = MakeTextField(5, 65, 70, 20, pFields, 0);
    tfX->SetFilter(IntegerFilter, nullptr);
    tfX->SetText(QStringLiteral("0"));
    MakeLabel("Position Y:", 80, 50, 70, 15, pFields, 0);
    tfY = MakeTextField(80, 65, 70, 20, pFields, 0);
    tfY->SetFilter(IntegerFilter, nullptr);
    tfY->SetText(QStringLiteral("0"));
    MakeLabel("Text align", 5, 90, 145, 15, pFields, 0);
    cbAlign = MakeComboBox(5, 107, 145, 20, pFields, 0);
    AppendItems(cbAlign, { QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right") });
    MakeLabel("Hudtxt ID", 5, 137, 145, 15, pFields, 0);
    cbID = MakeComboBox(5, 152, 145, 20, pFields, 0);
    for (int id = 0; id < 50; ++id)
        AppendItem(cbID, QString::number(id), 0, -1, {}, {});
    cbID->SelectItem(0, 1);
    MakeLabel("Hudtxt type", 5, 180, 145, 15, pFields, 0);
    cbType = MakeComboBox(5, 197, 145, 20, pFields, 0);
    AppendItems(cbType, { QStringLiteral("hudtxt"), QStringLiteral("hudtxt2") });
    lVar = MakeLabel("Hudtxt variable", 5, 228, 145, 15, pFields, 0);
    tfVar = MakeTextField(5, 243, 145, 20, pFields, 0);
    lInfo = MakeLabel(QString(), 5, 270, 145, 75, pFields, 0);
    tfVar->SetEnabled(false);
    lVar->SetEnabled(false);
    lCheck = MakeLabel(QString(), 5, 350, 145, 65, pFields, 0);
    lCheck->SetTextColor(170, 0, 0);
    ShowCompileCheck(lCheck, HudtxtCall());
}

bool TWHudtxt::HandleAction(const TEvent& event)
{
    const TGadget* source = event.source;
    if (!source)
        return false;
    if (source == bCreate) {
        InsertAndClose(HudtxtCall());
    } else if (source == cbType) {
        // Only hudtxt2 takes the variable; its text stays for the next time.
        tfVar->SetEnabled(event.data == 1);
        lVar->SetEnabled(event.data == 1);
        ShowCompileCheck(lCheck, HudtxtCall());
    } else if (source == bClose) {
        Close();
    } else if (source == tfText || source == tfX || source == tfY || source == cbAlign || source == cbID
        || source == tfVar) {
        ShowCompileCheck(lCheck, HudtxtCall());
    } else {
        return source == Canvas || source == pFields;
    }
    return true;
}

void TWHudtxt::Edit(const TWizardCall& call)
{
    const auto* fields = OpenToEdit<THudtxtCallFields>(call, { bCreate, QStringLiteral("Replace hudtxt"), lInfo });
    if (!fields)
        return;
    tfText->SetText(fields->text);
    tfX->SetText(fields->x);
    tfY->SetText(fields->y);
    cbAlign->SelectItem(static_cast<int>(fields->align), 1);
    cbID->SelectItem(fields->id, 1);
    cbType->SelectItem(fields->second ? 1 : 0, 1);
    // A hudtxt call leaves the variable field as it was, for a hudtxt2 chosen later.
    if (fields->second)
        tfVar->SetText(fields->variable);
    tfVar->SetEnabled(fields->second);
    lVar->SetEnabled(fields->second);
}

QString TWHudtxt::HudtxtCall() const
{
    const bool second = cbType->SelectedItem() != 0;
    QString call = QStringLiteral("parse(\"hudtxt");
    if (second)
        call += QStringLiteral("2");
    call += QLatin1Char(' ');
    if (second)
        call += QStringLiteral("\" .. ") + tfVar->GetText() + QStringLiteral(" .. \" ");
    call += QString::number(cbID->SelectedItem()) + QStringLiteral(" \\\"") + tfText->GetText()
        + QStringLiteral("\\\" ") + tfX->GetText() + QLatin1Char(' ') + tfY->GetText() + QLatin1Char(' ');
    switch (cbAlign->SelectedItem()) {
    case Left:
        call += QStringLiteral("0");
        break;
    case Center:
        call += QStringLiteral("1");
        break;
    case Right:
        call += QStringLiteral("-1");
        break;
    default:
        break;
    }
    return call + QStringLiteral("\")");
}

void TWHudtxt::Released(int button, int x, int y)
{
    if (button != 1)
        return;
    tfX->SetText(QString::number(x));
    tfY->SetText(QString::number(y));
}

void TWHudtxt::Draw()
{
    if (PolledMouseDown(1)) {
        tfX->SetText(QString::number(PolledMouseX()));
        tfY->SetText(QString::number(PolledMouseY()));
    }
    const TFrameKey key { tfText->GetText(), ReadWholeNumber(tfX->GetText()), ReadWholeNumber(tfY->GetText()),
        cbAlign->SelectedItem() };
    if (shown == key)
        return;

    // The frame is drawn on the canvas, whatever another part of the program selected last.
    const std::shared_ptr<TGraphics> graphics = Canvas->CanvasGraphics();
    SelectGraphics(graphics);
    ClearGraphics();
    const TText text = TText::FromString(key.text);
    int64_t x = key.x;
    if (key.align == Center)
        x -= text.Width() / 2;
    else if (key.align == Right)
        x -= text.Width();
    const int y = Near(key.y);
    SetDrawColor(255, 255, 255);
    SetDrawAlpha(1);
    DrawImageAt(StartupResources().hudBackground, 0, 0);
    text.Draw(Near(x + 1), y + 1, 1.0f);
    text.Draw(Near(x), y, 1.0f);
    FlipGraphics();
    shown = key;
    ++framesDrawn;
}
