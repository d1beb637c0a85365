#include "app/About.h"

#include "app/Main.h"
#include "app/ThemeLinks.h"
#include "platform/classlib/Application.h"

namespace tarvel {

TAboutBox* AboutBox = nullptr;

namespace {

constexpr const char* kReleaseDate = "2014-11-03";
constexpr const char* kHolderCaption = "Copyright:";
constexpr const char* kHolderLine = "Tarvel Power Co., Ltd.";

constexpr int kCaptionLeft = 68;
constexpr int kValueLeft = 136;

// One row of the box: a caption label and its value label.
struct AboutRow {
    TTeAdvancedLabel* TAboutBox::*caption;
    const char* captionName;
    TTeLabel* TAboutBox::*value;
    const char* valueName;
    int top;
};

const AboutRow kRows[] = {
    {&TAboutBox::TeAdvancedLabel1, "TeAdvancedLabel1", &TAboutBox::TeLabel1, "TeLabel1", 8},
    {&TAboutBox::TeAdvancedLabel2, "TeAdvancedLabel2", &TAboutBox::TeLabel2, "TeLabel2", 36},
    {&TAboutBox::TeAdvancedLabel5, "TeAdvancedLabel5", &TAboutBox::TeLabel3, "TeLabel3", 64},
    {&TAboutBox::TeAdvancedLabel4, "TeAdvancedLabel4", &TAboutBox::TeLabel5, "TeLabel5", 96},
    {&TAboutBox::TeAdvancedLabel3, "TeAdvancedLabel3", &TAboutBox::TeLabel4, "TeLabel4", 124},
};

template <class T>
T* MakeLabel(TAboutBox* box, const char* name, int left, int top) {
    auto* label = new T(box);
    label->SetName(name);
    label->SetParent(box);
    label->SetTransparent(true);
    label->SetBounds(left, top, 60, 16);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner) {
    AboutBox = this;
    {
        TLoadingScope scope(this);
        SetName("AboutBox");
        SetCaption("About");
        SetBorderStyle(bsNone);
        SetPosition(poScreenCenter);
        SetBounds(0, 0, 370, 208);
        TeForm1 = new TTeForm(this);
        TeForm1->SetName("TeForm1");
        TeForm1->SetBorderStyle(kbsNone);
        // The skin's own object for a window without a border.
        TeForm1->SetThemeObject("NoBorder");
        for (const AboutRow& row : kRows) {
            this->*row.caption = MakeLabel<TTeAdvancedLabel>(this, row.captionName, kCaptionLeft, row.top);
            this->*row.value = MakeLabel<TTeLabel>(this, row.valueName, kValueLeft, row.top);
        }
        TeAdvancedLabel3->SetVisible(false);
        TeLabel4->SetVisible(false);
        TeEffectButton1 = new TTeEffectButton(this);
        TeEffectButton1->SetName("TeEffectButton1");
        TeEffectButton1->SetParent(this);
        TeEffectButton1->SetBounds(144, 156, 85, 29);
        TeEffectButton1->SetModalResult(mrOk);
        FormCreate(this);
        if (MainForm) LinkSkinnedControls(this, MainForm->TeThemeLink1);
        scope.Finish();
    }
    const String title = String(kAppName) + kAppVersion;
    if (Application) Application->SetTitle(title);
    if (MainForm) MainForm->SetCaption(title);
}

TAboutBox::~TAboutBox() {
    if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::FormCreate(TObject*) {
    TeAdvancedLabel1->SetCaption(u"Name:");
    TeAdvancedLabel2->SetCaption(u"Version:");
    TeAdvancedLabel5->SetCaption(u"Date:");
    TeAdvancedLabel4->SetCaption(Utf8ToWide(kHolderCaption));
    TeAdvancedLabel3->SetCaption(u"Author:");
    TeEffectButton1->SetCaption(u"Confirm");
    TeLabel1->SetCaption(Utf8ToWide(kAppName));
    TeLabel2->SetCaption(Utf8ToWide(kAppVersion));
    TeLabel3->SetCaption(Utf8ToWide(kReleaseDate));
    TeLabel5->SetCaption(Utf8ToWide(kHolderLine));
}

}  // namespace tarvel
