#include "app/GetHis.h"

#include "app/Main_Pages.h"
#include "app/ShownNames.h"
#include "app/ThemeLinks.h"
#include "platform/base/Exceptions.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Boxes.h"
#include "records/HisAlarm.h"

namespace tarvel {

TGetHisSet* GetHisSet = nullptr;

TGetHisSet::TGetHisSet(TComponent* owner) : TForm(owner) {
    GetHisSet = this;
    SetName("GetHisSet");
    SetCaption("Get Recent Records");
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetPosition(poMainFormCenter);
    SetBounds(0, 0, 310, 180);
    {
        TLoadingScope scope(this);
        TeLabel1 = MakeControl<TTeLabel>(this, this, "TeLabel1", 24, 44, 80, 16);
        GetHisSetNum = MakeControl<TTeEdit>(this, this, "GetHisSetNum", 108, 40, 90, 21);
        TeLabel2 = MakeControl<TTeLabel>(this, this, "TeLabel2", 206, 44, 60, 16);
        GetHis1 = MakeControl<TTeButton>(this, this, "GetHis1", 108, 90, 90, 28);
        TeLabel1->SetText("Get Current ");
        TeLabel2->SetText("Records");
        // The caption before the count is its name in messages.
        TeLabel1->SetFocusControl(GetHisSetNum);
        GetHis1->SetCaption(u"Ensure");
        if (MainForm) LinkSkinnedControls(this, MainForm->TeThemeLink1);
        scope.Finish();
    }
    GetHis1->OnClick = [this](TObject* sender) { GetHis1Click(sender); };
}

TGetHisSet::~TGetHisSet() {
    if (GetHisSet == this) GetHisSet = nullptr;
}

void TGetHisSet::GetHis1Click(TObject*) {
    TMainForm* main = MainForm;
    if (!main) return;
    const RequestBuild request = BuildRecentRecordsRequest(main->ModuleAddress(), GetHisSetNum->Text());
    if (request.refusal == kRecentRecordsRangeMessage) {
        ShowMessage(request.refusal);
        return;
    }
    if (!request.Ok()) {
        // Named by the caption beside the edit, as the person sees it.
        Application->ShowException(EConvertError(WithShownNames(*this, "GetHisSetNum: " + request.refusal)));
        return;
    }
    if (Application->MessageBox(
            "Before not present data query success tips, please do not perform other queries!", "",
            MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    // A frame of the dialog's own: the opener checked the login, and nothing
    // is recorded as the request awaited.
    if (main->WriteFrame(request.frame.data(), static_cast<uint16_t>(request.frame.size())))
        main->BeginHisAlarmDownload();
    SetModalResult(mrOk);
}

}  // namespace tarvel
