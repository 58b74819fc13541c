#include "tools/WTimer.h"

#include "gui/GadgetFactory.h"
#include "tools/NumberFilters.h"
#include "tools/Numbers.h"

namespace {
constexpr int GroupBoxStyle = PanelStyle::Group;

QString Whole(double value)
{
    return QString::number(TruncateToInt32(value));
}
} // namespace

void TWTimer::Init(TGadget* mainWindow)
{
    Window = MakeWindow("Create timer", 0, 0, 210, 420, mainWindow, ToolWindowStyle);
    Panel = MakePanel(5, 5, 200, 155, Window, GroupBoxStyle, "Timer frequency");
    MakeLabel("In Milliseconds:", 5, 5, 190, 15, Panel, 0);
    tfMs = MakeTextField(5, 20, 185, 20, Panel, 0);
    MakeLabel("In Seconds:", 5, 50, 190, 15, Panel, 0);
    tfS = MakeTextField(5, 65, 185, 20, Panel, 0);
    MakeLabel("In Minutes:", 5, 95, 190, 15, Panel, 0);
    tfM = MakeTextField(5, 110, 185, 20, Panel, 0);
    MakeLabel("Function to call", 5, 170, 200, 15, Window, 0);
    tfFunc = MakeTextField(5, 185, 200, 20, Window, 0);
    MakeLabel("Function argument", 5, 215, 200, 15, Window, 0);
    tfParam = MakeTextField(5, 230, 200, 20, Window, 0);
    MakeLabel("Call times (0 - infinite)", 5, 260, 200, 15, Window, 0);
    tfTimes = MakeTextField(5, 275, 200, 20, Window, 0);
    lInfo = MakeLabel(QString(), 5, 300, 200, 45, Window, 0);
    lCheck = MakeLabel(QString(), 5, 345, 200, 45, Window, 0);
    lCheck->SetTextColor(170, 0, 0);
    bCreate = MakeButton("Create timer", 5, 390, 95, 25, Window, PushButtonStyle);
    bClose = MakeButton("Close", 110, 390, 95, 25, Window, PushButtonStyle);

    tfFunc->SetText(QStringLiteral("myfunc"));
    tfParam->SetText(QStringLiteral("myvar .. \"mystring\""));
    tfM->SetText(QStringLiteral("0"));
    tfMs->SetText(QStringLiteral("0"));
    tfS->SetText(QStringLiteral("0"));
    tfTimes->SetText(QStringLiteral("1"));
    tfMs->SetFilter(DecimalFilter, nullptr);
    tfS->SetFilter(DecimalFilter, nullptr);
    tfM->SetFilter(DecimalFilter, nullptr);
    tfTimes->SetFilter(IntegerFilter, nullptr);
    ShowCompileCheck(lCheck, TimerCall());
}

bool TWTimer::HandleAction(const TEvent& event)
{
    const TGadget* source = event.source;
    if (!source)
        return false;
    if (source == tfMs)
        UpdateMs();
    else if (source == tfS)
        UpdateS();
    else if (source == tfM)
        UpdateM();
    else if (source == bCreate)
        InsertAndClose(TimerCall());
    else if (source == bClose)
        Close();
    else if (source != tfFunc && source != tfParam && source != tfTimes)
        return false;
    if (source != bCreate && source != bClose)
        ShowCompileCheck(lCheck, TimerCall());
    return true;
}

void TWTimer::Edit(const TWizardCall& call)
{
    const auto* fields = OpenToEdit<TTimerCallFields>(call, { bCreate, QStringLiteral("Replace timer"), lInfo });
    if (!fields)
        return;
    tfMs->SetText(fields->period);
    UpdateMs();
    tfFunc->SetText(fields->function);
    tfParam->SetText(fields->argument);
    tfTimes->SetText(fields->count);
}

void TWTimer::UpdateMs()
{
    const double ms = ParseReal(tfMs->GetText());
    tfS->SetText(FormatReal(static_cast<float>(ms / 1000)));
    tfM->SetText(FormatReal(static_cast<float>(ms / 1000 / 60)));
}

void TWTimer::UpdateS()
{
    const double s = ParseReal(tfS->GetText());
    tfMs->SetText(Whole(s * 1000));
    tfM->SetText(FormatReal(static_cast<float>(s / 60)));
}

void TWTimer::UpdateM()
{
    const double m = ParseReal(tfM->GetText());
    tfMs->SetText(Whole(m * 60 * 1000));
    tfS->SetText(FormatReal(static_cast<float>(m * 60)));
}

QString TWTimer::TimerCall() const
{
    return QStringLiteral("timer(") + tfMs->GetText() + QStringLiteral(", \"") + tfFunc->GetText()
        + QStringLiteral("\", ") + tfParam->GetText() + QStringLiteral(", ") + tfTimes->GetText() + QLatin1Char(')');
}
