// What the tool tells the user: the info line in the tool bar, the result of
// each reply found, and the information logs with their files in "Info".

#include "app/Main.h"
#include "app/ShownNames.h"
#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "platform/base/DateTime.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"

namespace tarvel {
namespace {

constexpr int kInfoLogLines = 20;  // one more and the log goes to its file
constexpr const char* kInfoFolder = "Info/";
constexpr const char* kSaveCaption = "保存并清空    ";

// What the tool's own check found wrong with a reply. A module's nonzero
// status byte is told apart: it shares the numbers.
struct CheckText {
    uint8_t verdict;
    const char* text;
};
constexpr CheckText kCheckTexts[] = {
    {ReplyRxLengthError, "wrong frame size"},  {ReplyCmdLengthError, "Length not accepted"},
    {ReplyBoardTypeError, "wrong board type"}, {ReplyCmdIdError, "unknown reply code"},
    {ReplyHandshakeError, "wrong handshake"},  {ReplyChecksumError, "wrong checksum"},
    {ReplyNotLoggedIn, "not logged in"},       {ReplyAddressError, "from another module"},
};

String FailureText(ByteSpan frame, uint8_t verdict) {
    if (frame.size() >= frame::kMinReplyFrame && frame[frame::kStatus] != 0)
        return "device status " + std::to_string(frame[frame::kStatus]);
    for (const CheckText& check : kCheckTexts)
        if (check.verdict == verdict) return check.text;
    return "verdict " + std::to_string(verdict);
}

void AppendColouredLine(TRichEdit* memo, const String& line, TColor color) {
    memo->SetSelStart(memo->GetTextLen());
    memo->SelAttributes()->SetColor(color);
    memo->AddLine(line);
}

TRichEdit* MakeLog(TComponent* owner, TWinControl* parent, const char* name) {
    auto* memo = new TRichEdit(owner);
    memo->SetName(name);
    memo->SetParent(parent);
    memo->SetAlign(alClient);
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);
    return memo;
}

TTeGroupBox* MakeGroup(TComponent* owner, TWinControl* parent, const char* name, const char* caption,
                       TRect bounds) {
    auto* group = new TTeGroupBox(owner);
    group->SetName(name);
    group->SetParent(parent);
    group->SetText(caption);
    group->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    return group;
}

// The log's popup menu with its one item, which saves and clears the log.
TTePopupMenu* AttachSavePopup(TComponent* owner, TRichEdit* memo, const char* menuName, const char* itemName,
                              TTeItem*& item, TNotifyEvent onClick) {
    auto* menu = new TTePopupMenu(owner);
    menu->SetName(menuName);
    item = new TTeItem(owner);
    item->SetName(itemName);
    item->SetCaption(Utf8ToWide(kSaveCaption));
    item->OnClick = std::move(onClick);
    menu->Items()->Add(item);
    memo->SetPopupMenu(menu);
    return menu;
}

}  // namespace

void TMainForm::BuildInfoPage() {
    TTeGroupBox* page = ScrolledPanels[8];
    GB_Info = MakeGroup(this, page, "GB_Info", "信息", TRect{8, 8, 608, 592});
    RE_Info = MakeLog(this, GB_Info, "RE_Info");
    GB_CommData = MakeGroup(this, page, "GB_CommData", "通信数据", TRect{616, 8, 992, 592});
    RE_CommData = MakeLog(this, GB_CommData, "RE_CommData");
    PopupMenuInfo = AttachSavePopup(this, RE_Info, "PopupMenuInfo", "PM_SaveInfo", PM_SaveInfo,
                                    [this](TObject* sender) { PM_SaveInfoClick(sender); });
    PopupMenuCommData =
        AttachSavePopup(this, RE_CommData, "PopupMenuCommData", "PM_SaveCommData", PM_SaveCommData,
                        [this](TObject* sender) { PM_SaveCommDataClick(sender); });
    if (RE_ExtInfo) {
        PopupMenuExtInfo =
            AttachSavePopup(this, RE_ExtInfo, "PopupMenuExtInfo", "PM_SaveExtInfo", PM_SaveExtInfo,
                            [this](TObject* sender) { PM_SaveExtInfoClick(sender); });
    }
    if (TB_LOG) TB_LOG->OnClick = [this](TObject* sender) { TB_LOGClick(sender); };
    Scanner = std::make_unique<ReplyScanner>([this](ByteSpan frame) { HandleFrame(frame); });
}

void TMainForm::ShowInfo(const String& text, TColor color) {
    if (!L_Info) return;
    L_Info->SetColor(color);
    // Refusals from below the window name cells and edits by their components.
    L_Info->SetCaption("    " + WithShownNames(*this, text));
    L_Info->SetVisible(true);
}

void TMainForm::ShowReplyResult(ByteSpan frame, uint8_t verdict) {
    ReplyNameOptions options;
    options.sampleVoltageOn = SampleVoltageOn != 0;
    options.sampleCurrentOn = SampleCurrentOn != 0;
    const String name = ReplyName(frame, options);
    const bool ok = verdict == ReplyOk;
    String line = ok ? name + "...  Succeed!" : name + "...  Failed! (" + FailureText(frame, verdict) + ")";
    ShowInfo(line, ok ? kSuccessColor : kFailureColor);
    // Which of the poll timer's requests was outstanding goes to the log only.
    if (TsbsQueryInProgress == 1) line += "...单模块轮询";
    if (PollInProgress == 1) line += "......多模块轮询";
    AddInfoLogLine(line, ok ? kLogSuccessColor : kFailureColor);
}

void TMainForm::AddInfoLogLine(const String& text, TColor color) {
    if (!RE_Info) return;
    AppendColouredLine(RE_Info, "【" + DateTimeToStr(Now()) + "】  " + text, color);
    SpillInfoLog();
}

void TMainForm::SpillInfoLog() {
    if (RE_Info && RE_Info->Lines()->Count() > kInfoLogLines) SaveLogAndClear(RE_Info, "Information.txt");
}

void TMainForm::ShowInfoAndExtLog(const String& text, TColor color) {
    ShowInfo(text, color);
    if (!RE_ExtInfo) return;
    AppendColouredLine(RE_ExtInfo, "【" + TimeToStr(Now()) + "】  " + text,
                       color == kSuccessColor ? kLogSuccessColor : color);
    RE_ExtInfo->ScrollCaret();
}

bool TMainForm::SaveLogAndClear(TRichEdit* memo, const String& ending) {
    if (!memo) return true;
    const String text = memo->Lines()->Text();
    if (!text.empty()) {
        const String name = kInfoFolder + DateToStr(Date()) + ending;
        try {
            ForceDirectories(AppPath(kInfoFolder));
            AppendFileText(AppPath(name), text + "\r\n");
        } catch (const Exception&) {
            // The lines stay in the log, so the next save can still keep them.
            ShowInfo("Cannot write " + name + ": the log is kept", kFailureColor);
            return false;
        }
    }
    memo->Lines()->Clear();
    return true;
}

void TMainForm::PM_SaveInfoClick(TObject*) { SaveLogAndClear(RE_Info, "信息.txt"); }
void TMainForm::PM_SaveExtInfoClick(TObject*) { SaveLogAndClear(RE_ExtInfo, "外部信息.txt"); }
void TMainForm::PM_SaveCommDataClick(TObject*) { SaveLogAndClear(RE_CommData, "通信数据.txt"); }

}  // namespace tarvel
