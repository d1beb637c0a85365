#pragma once
// The common controls in one include: tabs and pages, the date-time picker
// and month calendar, tree and list views with the header, and the bars
// (progress, up-down, status, tool).

#include "platform/classlib/ComCtrls_Bars.h"
#include "platform/classlib/ComCtrls_DateTime.h"
#include "platform/classlib/ComCtrls_ListView.h"
#include "platform/classlib/ComCtrls_Tabs.h"
#include "platform/classlib/ComCtrls_TreeView.h"
