#pragma once
// The remote-control, clock and automatic-check features against the
// simulated module. Their controls stand on tabs and in groups no view
// shows; a test reveals the one it uses (its tab active, its groups shown,
// the page scrolled to it) and drives it through the UI driver as a user
// would if the view showed it.

#include "tests/app/LinkFixture.h"

namespace tarvel::testing {

class RemoteControlTest : public LinkTest {
protected:
    // The window linked and its remote-control features bound, in the view
    // the window starts in.
    TMainForm* StartBound() {
        TMainForm* form = StartLinked();
        // Until the window's constructor binds them, before its start view.
        form->BindRemoteControlHandlers();
        form->ShowUserView();
        return form;
    }

    // Besides, the port open on the module, the module logged in, and the
    // engineering view, the one that enables the tube, delay and limit
    // buttons.
    TMainForm* StartLoggedIn() {
        TMainForm* form = StartBound();
        SwitchToEngineeringView();
        OpenLoggedIn();
        return form;
    }

    void SwitchToEngineeringView() {
        ui_.AnswerNextInput("7309");
        form_->EditionSwitchClick(nullptr);
        EXPECT_EQ(form_->EngineeringEdition, 1);
    }

    TControl* Reveal(const String& name) {
        TControl* control = ui_.Find(form_, name);
        TTeTabSheet* sheet = nullptr;
        TControl* onSheet = control;  // the sheet's child that holds the control
        for (TControl* c = control; c && !sheet; c = c->Parent()) {
            sheet = dynamic_cast<TTeTabSheet*>(c);
            if (sheet) break;
            c->SetVisible(true);
            onSheet = c;
        }
        if (!sheet) return control;
        sheet->SetPageVisible(true);
        form_->PC_All->SetActivePage(sheet);
        ui_.RunUntilIdle();
        // Scrolled as the window's scroll bars would, when it lies beyond the sheet's view.
        const TPoint at = control->ClientToScreen(TPoint{0, 0});
        const TPoint origin = sheet->ClientToScreen(TPoint{0, 0});
        const int below = at.y - origin.y + control->Height() - sheet->ClientHeight();
        const int right = at.x - origin.x + control->Width() - sheet->ClientWidth();
        if (onSheet != control && below > 0) onSheet->SetTop(onSheet->Top() - below - 8);
        if (onSheet != control && right > 0) onSheet->SetLeft(onSheet->Left() - right - 8);
        ui_.RunUntilIdle();
        return control;
    }

    // Clicks the control; the requests the module received, once it has
    // received `count` and the tool has reported the last reply.
    std::vector<Bytes> ClickAndAwait(const String& name, size_t count = 1) {
        TControl* control = Reveal(name);
        Module().ClearRequests();
        form_->L_Info->SetCaption("");
        ui_.Click(control);
        EXPECT_TRUE(WaitUntil([&] {
            return Module().Requests().size() >= count && InfoLine().ends_with("Succeed!");
        })) << name
            << ": " << InfoLine();
        return Module().Requests();
    }

    // What the module received meanwhile, after a pause long enough for a
    // request to have reached it.
    std::vector<Bytes> ReceivedAfterPause() {
        WaitUntil([] { return false; }, std::chrono::milliseconds(150));
        return Module().Requests();
    }
};

}  // namespace tarvel::testing
