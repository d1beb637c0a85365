#pragma once
// A skinned form frame that starts maximized and, with FullScreen on,
// covers the whole monitor, task bar included.

#include "skin/forms/te_forms_frame.h"

namespace tarvel {

class TTeFullScreenForm : public TTeForm {
    TARVEL_CLASS(TTeFullScreenForm, TTeForm)

public:
    explicit TTeFullScreenForm(TComponent* owner) : TTeForm(owner) {}

    bool FullScreen() const { return fullScreen_; }
    void SetFullScreen(bool value) { fullScreen_ = value; }

    TRect GetMaximizedRect() override;

protected:
    void Loaded() override;

private:
    bool fullScreen_ = false;
};

}  // namespace tarvel
