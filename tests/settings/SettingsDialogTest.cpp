// The settings dialog on the offscreen platform: config.dat as the dialog reads and writes it, the
// preview, and the dialog's gadgets driven the way the main loop dispatches them.
#include "settings/WSettings.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedSystemDriver.h"

#include "event/EventQueue.h"
#include "gui/GadgetFactory.h"
#include "gui/TextArea.h"
#include "gui/WidgetGadget.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
const std::string DefaultFile = std::string("\r\n\r\n")
    + std::string { '\xff', '\xff', '\xff', 1, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, '\x8c', '\x8c', 0, 0, 0, 0, 0, 1, 0,
          0, 0, 0, 0, 0, 0, 0, 50, 1, 0, '\x96', 0, 0, 0, 0 };

// The main text area, as far as the dialog touches it.
class TRecordingTextArea : public TGadget {
public:
    TRecordingTextArea()
        : TGadget(GadgetClass::TextArea, nullptr, 0)
    {
    }
    void SetColor(int r, int g, int b) override { background = qRgb(r, g, b); }
    void Activate(int command) override { activations.push_back(command); }
    QRgb background = 0;
    std::vector<int> activations;
};

class SettingsDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        environment.Set("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath("xdg")));
        environment.Set("HOME", QFile::encodeName(folder.filePath("home")));
        auto scripted = std::make_unique<TScriptedSystemDriver>();
        driver = scripted.get();
        previousDriver = SetSystemDriver(std::move(scripted));
        mainWindow = MakeWindow("Main", 0, 0, 640, 512, nullptr, 1 | 0x20 | 0x40);
        EventQueue.Clear();
    }

    void TearDown() override
    {
        mainWindow->Free();
        SetSystemDriver(std::move(previousDriver));
        QDir::setCurrent(previousFolder);
        environment.Restore();
        EventQueue.Clear();
    }

    std::unique_ptr<TWSettings> MakeDialog()
    {
        auto settings = std::make_unique<TWSettings>();
        settings->Init(mainWindow, &mainArea);
        return settings;
    }

    std::string FileBytes() const
    {
        QFile file(folder.filePath("config.dat"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
    }

    void PutFile(const std::string& bytes) const
    {
        QFile file(folder.filePath("config.dat"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
    }

    // What the main loop does with the dialog's events.
    void DispatchEvents(TWSettings& settings)
    {
        ProcessPlatformInput();
        while (EventQueue.Poll()) {
            const TEvent& event = EventQueue.Current();
            if (event.id == Event::MouseDown)
                settings.ColourSwatchClicked(event.source);
            else if (event.id == Event::GadgetAction)
                settings.HandleAction(event.source);
        }
    }

    static QWidget* WidgetOf(TGadget* gadget) { return TWidgetGadget::From(gadget)->Widget(); }

    static QRgb SwatchColour(TGadget* swatch)
    {
        return TWidgetGadget::From(swatch)->ClientWidget()->grab().toImage().pixel(10, 10);
    }

    QTemporaryDir folder;
    QString previousFolder;
    TScopedEnvironment environment;
    TScriptedSystemDriver* driver = nullptr;
    std::unique_ptr<TSystemDriver> previousDriver;
    TGadget* mainWindow = nullptr;
    TRecordingTextArea mainArea;
};

// The 39 fixed values of the file in file order, as the dialog holds them; its boxes show them.
std::string FixedBytes(const TWSettings& s)
{
    const TConfigRecord& values = s.Values();
    EXPECT_EQ(ButtonValue(s.bIndent), int8_t(values.indent));
    const std::pair<TGadget*, TGadget*> boxes[] = { { s.bTextBold, s.bTextItalic },
        { s.bCommentBold, s.bCommentItalic }, { s.bNumberBold, s.bNumberItalic }, { s.bBracketBold, s.bBracketItalic },
        { s.bSignBold, s.bSignItalic }, { s.bkeywordBold, s.bkeywordItalic }, { s.bStringBold, s.bStringItalic } };
    for (int k = 0; k < TokenClassCount; ++k) {
        EXPECT_EQ(ButtonValue(boxes[k].first), int8_t(values.classes[k].bold)) << k;
        EXPECT_EQ(ButtonValue(boxes[k].second), int8_t(values.classes[k].italic)) << k;
    }
    return values.Bytes().right(TConfigRecord::FixedBytes).toStdString();
}

TPartColour ColourOf(const TWSettings& s, TTokenClass c)
{
    return s.Values().Scheme()[c];
}

QRgb BackgroundOf(const TWSettings& s)
{
    return qRgb(s.Values().backR, s.Values().backG, s.Values().backB);
}
} // namespace

TEST_F(SettingsDialogTest, FirstStartWritesTheDefaultFileAndRunsOnIt)
{
    auto settings = MakeDialog();
    EXPECT_EQ(settings->ConfigPath(), folder.filePath("config.dat"));
    EXPECT_EQ(FileBytes(), DefaultFile);
    EXPECT_EQ(FixedBytes(*settings), DefaultFile.substr(4));
    EXPECT_EQ(ColourOf(*settings, TTokenClass::Text).Style, 0);
    EXPECT_EQ(ColourOf(*settings, TTokenClass::Bracket).Style, 1);
    EXPECT_EQ(ColourOf(*settings, TTokenClass::Keyword).Style, 1);
    EXPECT_EQ(mainArea.background, qRgb(255, 255, 255));
    EXPECT_TRUE(IsHidden(settings->Window, false));
}

TEST_F(SettingsDialogTest, SavedSettingsComeBackInTheNextRun)
{
    // Longer than a text field takes by default: paths come back whole whatever their length.
    const QString game = "C:/Program Files/" + QString(40000, 'd') + "/Tarvane.exe";
    const QString dedicated = QString::fromUtf8("/opt/Игры/tarvane dedicated.exe");
    std::string fixed;
    {
        auto first = MakeDialog();
        TConfigRecord values = first->Values();
        values.gamePath = game;
        values.dediPath = dedicated;
        values.backR = uint8_t(values.backR + 77);
        for (uint8_t* component : { &values.Class(TTokenClass::Text).g, &values.Class(TTokenClass::Comment).b,
                 &values.Class(TTokenClass::Number).r, &values.Class(TTokenClass::Bracket).g,
                 &values.Class(TTokenClass::Sign).b, &values.Class(TTokenClass::Keyword).r,
                 &values.Class(TTokenClass::String).g })
            *component = uint8_t(*component + 77);
        values.indent = 0;
        values.Class(TTokenClass::Text).italic = 1;
        values.Class(TTokenClass::Bracket).bold = 0;
        values.Class(TTokenClass::String).bold = 1;
        first->SetValues(values);
        EXPECT_EQ(first->pathGame->GetText(), game);
        fixed = FixedBytes(*first);
        first->SaveCfg();
    }
    // Plain ASCII keeps one byte per character; other characters are stored as UTF-8.
    EXPECT_EQ(FileBytes(), (game + "\r\n").toStdString() + (dedicated + "\r\n").toUtf8().toStdString() + fixed);

    auto second = MakeDialog();
    EXPECT_EQ(second->pathGame->GetText(), game);
    EXPECT_EQ(second->pathDedi->GetText(), dedicated);
    EXPECT_EQ(FixedBytes(*second), fixed);
    EXPECT_EQ(ColourOf(*second, TTokenClass::Text).Style, 2);
    EXPECT_EQ(ColourOf(*second, TTokenClass::Bracket).Style, 0);
    EXPECT_EQ(ColourOf(*second, TTokenClass::String).Style, 1);
}

// A file cut at any length loads what it holds, keeps the defaults for the rest, and the next save
// writes the whole layout again.
TEST_F(SettingsDialogTest, ATruncatedFileKeepsWhatItHoldsAndSavesWhole)
{
    std::string full = "\r\n\r\n";
    for (int i = 0; i < 39; ++i) {
        const bool stateByte = i == 3 || (i >= 4 && (i - 4) % 5 >= 3);
        full += stateByte ? char(1 - DefaultFile[4 + i]) : char(10 + i);
    }
    for (size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        PutFile(full.substr(0, length));
        auto settings = MakeDialog();
        const size_t taken = length > 4 ? length - 4 : 0;
        const std::string expected = full.substr(4, taken) + DefaultFile.substr(4 + taken);
        EXPECT_EQ(FixedBytes(*settings), expected);
        settings->SaveCfg();
        EXPECT_EQ(FileBytes(), "\r\n\r\n" + expected);
        settings->Window->Free();
    }
}

// Settings are written when they change, and only then: a second editor on the same file that changed
// nothing does not put back, at its end, what it read at its start. A failed write is told once.
TEST_F(SettingsDialogTest, ChangesAreWrittenAtOnceAndAnUnchangedEditorLeavesTheFile)
{
    auto first = MakeDialog();
    auto second = MakeDialog();
    TConfigRecord values = first->Values();
    values.gamePath = "/games/Tarvane.exe";
    first->SetValues(values);
    first->Close();
    EXPECT_EQ(FileBytes(), "/games/Tarvane.exe" + DefaultFile);
    driver->colourAnswers = { 0xFF102030u };
    first->BackColor(); // written at once, with the dialog open
    const std::string written = "/games/Tarvane.exe\r\n\r\n\x10\x20\x30" + DefaultFile.substr(7);
    EXPECT_EQ(FileBytes(), written);
    second->SaveCfg(); // its end
    EXPECT_EQ(FileBytes(), written);

    // A folder in the file's place takes no file: the failure is told once, not at every close.
    ASSERT_TRUE(QFile::remove(folder.filePath("config.dat")) && QDir().mkpath(folder.filePath("config.dat/x")));
    values = first->Values();
    values.backR = 1;
    first->SetValues(values);
    first->Close();
    EXPECT_TRUE(first->TakeWriteFailure().contains(first->ConfigPath()));
    first->Close();
    EXPECT_EQ(first->TakeWriteFailure(), "");
}

TEST_F(SettingsDialogTest, AnOddStateByteShowsTheBoxIndeterminateAndSavesAs255)
{
    std::string bytes = DefaultFile;
    bytes[4 + 4 + 3] = 7; // bold of the text class
    PutFile(bytes);
    auto settings = MakeDialog();
    EXPECT_EQ(ButtonValue(settings->bTextBold), -1);
    EXPECT_EQ(ColourOf(*settings, TTokenClass::Text).Style, 1);
    settings->SaveCfg();
    bytes[4 + 4 + 3] = '\xff';
    EXPECT_EQ(FileBytes(), bytes);
}

TEST_F(SettingsDialogTest, TickingAndUntickingABoldBoxMarksTheDialogChanged)
{
    auto settings = MakeDialog();
    settings->Open();
    EXPECT_FALSE(IsHidden(settings->Window, false));
    EXPECT_EQ(settings->Changed, 0);

    auto* box = static_cast<QAbstractButton*>(WidgetOf(settings->bkeywordBold));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 10));
    DispatchEvents(*settings);
    EXPECT_EQ(ColourOf(*settings, TTokenClass::Keyword).Style, 0);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 10));
    DispatchEvents(*settings);
    EXPECT_EQ(ColourOf(*settings, TTokenClass::Keyword).Style, 1);
    EXPECT_EQ(settings->Changed, 1);

    settings->Open(); // already open: keeps the flag
    EXPECT_EQ(settings->Changed, 1);
    EXPECT_TRUE(settings->Close());
    EXPECT_TRUE(IsHidden(settings->Window, false));
    EXPECT_EQ(mainArea.activations, std::vector<int> { 0 });

    settings->Open();
    EXPECT_FALSE(settings->Close());
    EXPECT_FALSE(settings->IsStyleBox(settings->bIndent));
}

// What the user types or ticks is the setting at once, for every reader and for the file.
TEST_F(SettingsDialogTest, TypedPathsAndTickedBoxesAreTheSettings)
{
    auto settings = MakeDialog();
    settings->Open();
    auto* field = static_cast<QLineEdit*>(WidgetOf(settings->pathDedi));
    QTest::keyClicks(field, "/srv/d");
    QTest::keyClick(field, Qt::Key_Backspace);
    for (TGadget* box : { settings->bIndent, settings->bStringItalic })
        QTest::mouseClick(static_cast<QAbstractButton*>(WidgetOf(box)), Qt::LeftButton, {}, QPoint(8, 10));
    DispatchEvents(*settings);
    EXPECT_EQ(settings->Values().dediPath, "/srv/");
    EXPECT_EQ(settings->Values().gamePath, "");
    EXPECT_FALSE(settings->Values().AutoIndent());
    EXPECT_EQ(ColourOf(*settings, TTokenClass::String).Style, TextStyleBit::Italic);

    settings->Close();
    const TConfigRecord saved = TConfigRecord::Load(settings->ConfigPath());
    EXPECT_EQ(saved.dediPath, "/srv/");
    EXPECT_EQ(saved.indent, 0);
    EXPECT_EQ(saved.Class(TTokenClass::String).italic, 1);
}

TEST_F(SettingsDialogTest, ThePreviewIsColouredByFixedRanges)
{
    auto settings = MakeDialog();
    TConfigRecord values = settings->Values();
    for (int k = 0; k < TokenClassCount; ++k)
        values.classes[k].r = uint8_t(200 + k);
    values.Class(TTokenClass::Comment).italic = 1;
    values.Class(TTokenClass::Number).bold = 1;
    values.Class(TTokenClass::Number).italic = 1;
    settings->SetValues(values);

    // One letter per character: t text, c comment, n number, b bracket, s sign, k keyword, q string.
    const std::string classes = "kkkkkkkktttttbbt"
                                "tkkkkktttttttstbnnntttnnnbt"
                                "tkkkkktttttstqqqqqqqqtccccccccccccct"
                                "kkk";
    const std::string letters = "tcnbskq";
    const int styles[] = { 0, 2, 3, 1, 0, 1, 0 };
    const TTextBuffer& buffer = static_cast<TTextArea*>(settings->Textarea)->Buffer();
    ASSERT_EQ(settings->Textarea->GetText(),
        "function test()\n\tlocal value = (123 + 123)\n\tlocal str = \"lolzor\" -- Comment :)\nend");
    ASSERT_EQ(buffer.Length(), int(classes.size()));
    for (int pos = 0; pos < buffer.Length(); ++pos) {
        SCOPED_TRACE(pos);
        const int k = int(letters.find(classes[pos]));
        const TTextStyle& style = buffer.StyleOf(buffer.StyleIdAt(pos));
        EXPECT_EQ(style.r, 200 + k);
        EXPECT_EQ(style.flags, styles[k]);
    }
}

TEST_F(SettingsDialogTest, TypingIntoThePreviewChangesNothing)
{
    auto settings = MakeDialog();
    settings->Open();
    const QString sample = settings->Textarea->GetText();
    QWidget* view = static_cast<TTextArea*>(settings->Textarea)->View();
    view->setFocus();
    QTest::keyClicks(view, "abc");
    for (Qt::Key key : { Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backspace, Qt::Key_Delete })
        QTest::keyClick(view, key);
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    ProcessPlatformInput();
    EXPECT_EQ(settings->Textarea->GetText(), sample);
    while (EventQueue.Poll())
        EXPECT_NE(EventQueue.Current().id, Event::GadgetAction);
}

TEST_F(SettingsDialogTest, AChosenColourReachesTheBytesTheSwatchAndTheBackgrounds)
{
    auto settings = MakeDialog();
    settings->Open();
    driver->colourAnswers = { 0xFF102030u, 0xFF0A0B0Cu };
    QTest::mouseClick(TWidgetGadget::From(settings->colBack)->ClientWidget(), Qt::LeftButton, {}, QPoint(5, 5));
    DispatchEvents(*settings);
    ASSERT_EQ(driver->requests.size(), 1u);
    EXPECT_EQ(driver->requests[0].kind, "RequestColor");
    EXPECT_EQ(qRgb(driver->requests[0].red, driver->requests[0].green, driver->requests[0].blue), qRgb(255, 255, 255));
    EXPECT_EQ(BackgroundOf(*settings), qRgb(16, 32, 48));
    EXPECT_EQ(mainArea.background, qRgb(16, 32, 48));
    EXPECT_EQ(SwatchColour(settings->colBack), qRgb(16, 32, 48));
    const QImage preview = static_cast<TTextArea*>(settings->Textarea)->View()->viewport()->grab().toImage();
    EXPECT_EQ(preview.pixel(preview.width() - 3, preview.height() - 3), qRgb(16, 32, 48));
    EXPECT_EQ(settings->Changed, 1);

    EXPECT_TRUE(settings->ColourSwatchClicked(settings->colkeyword));
    EXPECT_EQ(driver->requests.back().blue, 50);
    const TPartColour keyword = ColourOf(*settings, TTokenClass::Keyword);
    EXPECT_EQ(qRgb(keyword.R, keyword.G, keyword.B), qRgb(10, 11, 12));
    EXPECT_EQ(SwatchColour(settings->colkeyword), qRgb(10, 11, 12));

    // Cancelled: the requester still opens on the current colour, and nothing changes.
    settings->Close();
    settings->Open();
    EXPECT_TRUE(settings->ColourSwatchClicked(settings->colBack));
    EXPECT_EQ(qRgb(driver->requests.back().red, driver->requests.back().green, driver->requests.back().blue),
        qRgb(16, 32, 48));
    EXPECT_EQ(BackgroundOf(*settings), qRgb(16, 32, 48));
    EXPECT_EQ(settings->Changed, 0);
    EXPECT_FALSE(settings->ColourSwatchClicked(settings->pathGame));
    EXPECT_EQ(driver->requests.size(), 3u);
}

TEST_F(SettingsDialogTest, ThePathButtonsAskForTheExecutable)
{
    auto settings = MakeDialog();
    settings->Open();
    driver->fileAnswers = { "/games/My Tarvane/Tarvane.exe", "/srv/tarvane_dedicated.exe" };
    QTest::mouseClick(static_cast<QAbstractButton*>(WidgetOf(settings->bPathGame)), Qt::LeftButton);
    QTest::mouseClick(static_cast<QAbstractButton*>(WidgetOf(settings->bPathDedi)), Qt::LeftButton);
    DispatchEvents(*settings);
    EXPECT_EQ(settings->pathGame->GetText(), "/games/My Tarvane/Tarvane.exe");
    EXPECT_EQ(settings->pathDedi->GetText(), "/srv/tarvane_dedicated.exe");
    ASSERT_EQ(driver->requests.size(), 2u);
    EXPECT_EQ(driver->requests[0].caption, "Select Tarvane.exe");
    EXPECT_EQ(driver->requests[1].caption, "Select tarvane_dedicated.exe");
    for (const TRecordedRequest& request : driver->requests) {
        EXPECT_EQ(request.text, "Programs:exe,+x;All files:*");
        EXPECT_FALSE(request.save);
        EXPECT_TRUE(request.path.isEmpty());
    }

    EXPECT_TRUE(settings->ChoosePath(settings->bPathGame)); // cancelled
    EXPECT_EQ(settings->pathGame->GetText(), "/games/My Tarvane/Tarvane.exe");
    EXPECT_FALSE(settings->ChoosePath(settings->bIndent));
    EXPECT_EQ(driver->requests.size(), 3u);
}
