// A system driver for tests: requesters take their answers from queues, and every request, launch and
// exit is recorded instead of reaching the desktop.
#pragma once

#include "gui/SystemDriver.h"

#include <QString>
#include <QStringList>

#include "gui/MenuGadget.h"

#include <deque>
#include <utility>
#include <vector>

struct TRecordedRequest {
    QString kind; // "Notify", "Confirm", "Proceed", "Choose", "RequestFile", "RequestColor", "PopupMenu"
    QString caption; // message-box caption, or the file requester's title
    QString text; // message, or the file requester's filter
    bool serious = false;
    bool save = false;
    QString path;
    int red = 0, green = 0, blue = 0;
    int x = 0, y = 0; // where a pop-up menu appeared on the screen
    std::vector<std::pair<QString, bool>> items; // a pop-up menu's items, and whether each was enabled
    QStringList buttons; // a Choose question's buttons
};

struct TRecordedLaunch {
    QString program;
    QStringList arguments;
    QString workingDirectory;
};

class TScriptedSystemDriver : public TSystemDriver {
public:
    std::deque<int> confirmAnswers;
    std::deque<int> proceedAnswers;
    // The index of the button each Choose question is answered with; unanswered, its Escape button.
    std::deque<int> chooseAnswers;
    std::deque<QString> fileAnswers;
    std::deque<unsigned> colourAnswers;
    // The tag of the item each pop-up menu is answered with, chosen as a click would; 0 dismisses it.
    std::deque<int> popupAnswers;
    // What Launch answers, as the system would when a start fails.
    bool launchSucceeds = true;

    std::vector<TRecordedRequest> requests;
    std::vector<TRecordedLaunch> launches;
    std::vector<int> exits;

    void Notify(const QString& caption, const QString& text, bool serious) override
    {
        requests.push_back(Request("Notify", caption, text, serious));
    }

    int Confirm(const QString& caption, const QString& text, bool serious) override
    {
        requests.push_back(Request("Confirm", caption, text, serious));
        return Take(confirmAnswers, 0);
    }

    int Proceed(const QString& caption, const QString& text, bool serious) override
    {
        requests.push_back(Request("Proceed", caption, text, serious));
        return Take(proceedAnswers, -1);
    }

    int Choose(
        const QString& caption, const QString& text, bool serious, const QStringList& buttons, int escapeIndex) override
    {
        TRecordedRequest request = Request("Choose", caption, text, serious);
        request.buttons = buttons;
        requests.push_back(request);
        return Take(chooseAnswers, escapeIndex);
    }

    QString RequestFile(const QString& title, const QString& extensions, bool save, const QString& path) override
    {
        TRecordedRequest request = Request("RequestFile", title, extensions, false);
        request.save = save;
        request.path = path;
        requests.push_back(request);
        return Take(fileAnswers, QString());
    }

    unsigned RequestColor(int red, int green, int blue) override
    {
        TRecordedRequest request = Request("RequestColor", QString(), QString(), false);
        request.red = red;
        request.green = green;
        request.blue = blue;
        requests.push_back(request);
        return Take(colourAnswers, 0u);
    }

    void PopupMenu(TGadget* menu, int screenX, int screenY) override
    {
        TRecordedRequest request = Request("PopupMenu", QString(), QString(), false);
        request.x = screenX;
        request.y = screenY;
        for (TGadget* item : menu->kids)
            request.items.emplace_back(item->GetText(), !(item->State() & GadgetState::Disabled));
        requests.push_back(request);
        const int tag = Take(popupAnswers, 0);
        for (TGadget* item : menu->kids) {
            if (tag != 0 && item->style == tag)
                static_cast<TMenuGadget*>(item)->Choose();
        }
    }

    bool Launch(const QString& program, const QStringList& arguments, const QString& workingDirectory) override
    {
        launches.push_back({ program, arguments, workingDirectory });
        return launchSucceeds;
    }

    void Exit(int status) override { exits.push_back(status); }

private:
    static TRecordedRequest Request(const QString& kind, const QString& caption, const QString& text, bool serious)
    {
        TRecordedRequest request;
        request.kind = kind;
        request.caption = caption;
        request.text = text;
        request.serious = serious;
        return request;
    }

    template <typename T> static T Take(std::deque<T>& answers, T unanswered)
    {
        if (answers.empty())
            return unanswered;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
