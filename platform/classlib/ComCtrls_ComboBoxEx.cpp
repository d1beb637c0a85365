// TComboBoxEx: items with images and indents.

#include "platform/classlib/ComCtrls_ComboBoxEx.h"

namespace tarvel {

template class TComboBoxExOn<TCustomComboBox>;

}  // namespace tarvel
