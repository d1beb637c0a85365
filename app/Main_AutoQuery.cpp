#include "app/Main.h"

namespace tarvel {

void TMainForm::AppendAutoQueryColumn() {}

}  // namespace tarvel
