// Any bytes as the contents of the readings database, shown by the pages
// that read it back: rows of the three tables built from the input (times,
// serial numbers and values as texts, integers, reals, blobs or nulls, as
// a damaged or foreign database may hold them), then the data-query page's
// query over a range, a module and an order from the input, its delete,
// and the chart page's query of either curve, each through its button.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/DateTime.h"
#include "platform/base/Exceptions.h"
#include "records/ReadingDatabase.h"
#include "tests/app/FuzzInput.h"
#include "tests/app/FuzzWindow.h"

using namespace tarvel;

namespace {

constexpr ReadingTable kTables[] = {ReadingTable::NoModule, ReadingTable::SingleModule,
                                    ReadingTable::MoreModule};

// A time in March 2024 most of the time, else any text.
std::string RecordTime(testing::FuzzInput& in) {
    const uint8_t day = in.Byte();
    if (day >= 0xF0) return in.Text();
    char text[24];
    std::snprintf(text, sizeof text, "2024-03-%02d %02d:%02d:00", day % 40, in.Byte() % 25, in.Byte() % 61);
    return text;
}

void InsertRow(ReadingDatabase& db, testing::FuzzInput& in) {
    const ReadingTable table = kTables[in.Byte() % 3];
    const std::vector<std::string> columns = ReadingColumns(table);
    std::string names = "RecordTime", values = "?";
    std::vector<std::string> texts{RecordTime(in)};
    std::vector<int64_t> numbers;
    std::vector<bool> isNumber{false};
    for (int n = in.Byte() % 6; n > 0; --n) {
        const std::string& column = columns[1 + in.Byte() % (columns.size() - 1)];
        if (names.find("," + column + ",") != std::string::npos || names.ends_with("," + column)) continue;
        names += "," + column;
        switch (in.Byte() % 5) {
            case 0: values += ",?", texts.push_back(in.Text()), isNumber.push_back(false); break;
            case 1: {
                int64_t v = 0;
                for (int b = 0; b < 8; ++b) v = v << 8 | in.Byte();
                values += ",?", texts.emplace_back(), numbers.push_back(v), isNumber.push_back(true);
                break;
            }
            case 2:
                values += ",CAST(? AS REAL)", texts.push_back(in.Text()), isNumber.push_back(false);
                break;
            case 3:
                values += ",CAST(? AS BLOB)", texts.push_back(in.Text()), isNumber.push_back(false);
                break;
            default: values += ",NULL"; break;
        }
    }
    Statement insert = db.Connection().Prepare("INSERT INTO " + std::string(ReadingTableName(table)) + "(" +
                                               names + ") VALUES(" + values + ")");
    size_t number = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (isNumber[i])
            insert.BindInt64(static_cast<int>(i + 1), numbers[number++]);
        else
            insert.BindText(static_cast<int>(i + 1), texts[i]);
    }
    insert.Run();
}

// A handler's failure is shown as the application shows an escaped exception.
template <class F>
void Handled(F&& run) {
    try {
        run();
    } catch (const Exception&) {
    }
}

void ShowPage(testing::FuzzWindow& world, TTeTabSheet* sheet) {
    sheet->SetPageVisible(true);
    world.form->PC_All->SetActivePage(sheet);
    world.ui.RunUntilIdle();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static testing::FuzzWindow* world = [] {
        auto* made = new testing::FuzzWindow("fuzz_app_dataquery");
        // A small window: the grid and the chart still paint every row and
        // point they hold, with fewer pixels to fill.
        made->form->SetBounds(0, 0, 420, 320);
        return made;
    }();
    const auto here = world->InFolder();
    TMainForm* form = world->form;
    TUiDriver& ui = world->ui;
    testing::FuzzInput in(data, size);
    {
        ReadingDatabase db(ReadingDatabase::DefaultPath());
        for (ReadingTable table : kTables)
            db.Connection().Execute("DELETE FROM " + std::string(ReadingTableName(table)));
        for (int rows = 0; rows < 40 && !in.Empty() && in.Byte() != 0xFF; ++rows)
            Handled([&] { InsertRow(db, in); });
    }

    const auto pickTable = [&](TTeComboBox* box) {
        const uint8_t pick = in.Byte();
        box->SetText(pick < 0xF0 ? String(ReadingTableName(kTables[pick % 3])) : String(in.Text()));
    };
    const TDateTime march = EncodeDate(2024, 3, 1);

    ShowPage(*world, form->TS_DataQuery);
    pickTable(form->DQ_Table);
    form->DQ_BeginDate->SetDateTime(march + in.Byte() % 40 - 4);
    form->DQ_EndDate->SetDateTime(march + in.Byte() % 40 - 4);
    Handled([&] { form->DQ_SeqNumEnter(nullptr); });
    if (form->DQ_SeqNum->Items()->Count() > 0)
        form->DQ_SeqNum->SetItemIndex(in.Byte() % form->DQ_SeqNum->Items()->Count());
    const uint8_t order = in.Byte();
    Handled([&] { form->DQ_OrderModeEnter(nullptr); });
    if (order >= 0xF0)
        form->DQ_OrderMode->SetText(in.Text());
    else if (form->DQ_OrderMode->Items()->Count() > 0)
        form->DQ_OrderMode->SetItemIndex(order % form->DQ_OrderMode->Items()->Count());
    ui.Click(form->DQ_Query);
    if (in.Byte() & 1) {
        ui.AnswerNextBox(in.Byte() & 1 ? mrYes : mrNo);
        ui.Click(form->DQ_Delete);
    }

    ShowPage(*world, form->TS_DBChart);
    pickTable(form->DBC_Table);
    form->DBC_Curve->SetText(in.Byte() & 1 ? "Current" : "BATT");
    form->DBC_BeginDate->SetDateTime(march + in.Byte() % 40 - 4);
    form->DBC_EndDate->SetDateTime(march + in.Byte() % 40 - 4);
    form->MultiModuleMode = in.Byte() & 1;
    Handled([&] { form->DBC_SeqNumEnter(nullptr); });
    ui.Click(form->DBC_OnceQuery);
    for (int wheel = in.Byte() % 4; wheel > 0; --wheel)
        ui.Wheel(form->DBC_OnceQuery, in.Byte() & 1 ? 120 : -120);
    form->MultiModuleMode = 0;
    world->Settle();
    return 0;
}
