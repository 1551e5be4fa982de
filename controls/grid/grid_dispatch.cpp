// The grid's names and identifiers and its dispatch interface, _DQORGrid.
#include <string>

#include "controls/grid/grid_ctrl.h"

namespace {

constexpr const char* kProgId = "QORGRID.QORGridCtrl.1";

using Table = CDispatchTable<CQORGridCtrl>;

DispParam Long(const char* name) {
    return DispParam::In(name, VT_I4);
}
DispParam Text(const char* name) {
    return DispParam::In(name, VT_BSTR);
}
DispParam Bool(const char* name) {
    return DispParam::In(name, VT_BOOL);
}
// Colours come as OLE_COLOR and are used as COLORREF values as they are.
DispParam Color(const char* name) {
    return DispParam::In(name, VT_UI4);
}

bool IsTrue(const CComVariant& value) {
    return value.boolVal != VARIANT_FALSE;
}

// Sets a text of one column's items, by index or by name.
template <class ByIndex, class ByName>
std::vector<Table::Entry> ItemMembers(const std::string& name, DISPID id, ByIndex byIndex,
                                      ByName byName) {
    return {
        Table::Method(name, id, {Long("col"), Text("strValue")}, VT_I4,
                      [byIndex](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                          result = (grid.*byIndex)(args[0].lVal, args[1].Text());
                          return S_OK;
                      }),
        Table::Method(name + "ByName", id + 1, {Text("colName"), Text("strValue")}, VT_I4,
                      [byName](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                          result = (grid.*byName)(args[0].Text(), args[1].Text());
                          return S_OK;
                      }),
    };
}

HRESULT InsertColumnMember(CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
    result = grid.InsertColumn(args[0].Text(), args[1].Text(), args[2].lVal, args[3].lVal,
                               args[4].lVal, args[5].Text(), IsTrue(args[6]), IsTrue(args[7]),
                               args[8].ulVal, args[9].ulVal);
    return S_OK;
}

// GetItem and GetItemByName: the text goes to the out-parameter only when there is one.
HRESULT GetItemMember(CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
    std::string text;
    const std::int32_t answer = args[1].vt == VT_BSTR
                                    ? grid.GetItemByName(args[0].lVal, args[1].Text(), text)
                                    : grid.GetItem(args[0].lVal, args[1].lVal, text);
    if (answer >= 0) {
        args[2] = CComVariant(text);
    }
    result = answer;
    return S_OK;
}

std::vector<Table::Entry> GridMembers() {
    std::vector<Table::Entry> members = {
        Table::Method(
            "InsertColumn", 1,
            {Text("columnName"), Text("columnTitle"), Long("columnWidth"), Long("columnEditStyle"),
             Long("columnMaxSize"), Text("columnEditMask"), Bool("columnEditable"),
             Bool("columnVisible"), Color("columnTextColor"), Color("columnBkColor")},
            VT_I4, &InsertColumnMember),
        Table::Method("AddRow", 2, {Long("nInsertBefore")}, VT_I4,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                          result = grid.AddRow(args[0].lVal);
                          return S_OK;
                      }),
        Table::Method("SetItem", 3, {Long("row"), Long("col"), Text("strValue")}, VT_I4,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                          result = grid.SetItem(args[0].lVal, args[1].lVal, args[2].Text());
                          return S_OK;
                      }),
        Table::Method("SetItemByName", 4, {Long("row"), Text("colName"), Text("strValue")}, VT_I4,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                          result = grid.SetItemByName(args[0].lVal, args[1].Text(), args[2].Text());
                          return S_OK;
                      }),
        Table::Method("GetItem", 5, {Long("row"), Long("col"), DispParam::Out("newValue", VT_BSTR)},
                      VT_I4, &GetItemMember),
        Table::Method("GetItemByName", 6,
                      {Long("row"), Text("colName"), DispParam::Out("newValue", VT_BSTR)}, VT_I4,
                      &GetItemMember),
        Table::Method("Redraw", 7, {}, VT_EMPTY,
                      [](CQORGridCtrl& grid, CDispArgs&, CComVariant&) {
                          grid.Redraw();
                          return S_OK;
                      }),
        Table::Method("SetRedraw", 8, {Bool("bEnabled")}, VT_EMPTY,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant&) {
                          grid.SetRedraw(IsTrue(args[0]));
                          return S_OK;
                      }),
        Table::Method("GetCurrentRow", 9, {}, VT_I4,
                      [](CQORGridCtrl& grid, CDispArgs&, CComVariant& result) {
                          result = grid.GetCurrentRow();
                          return S_OK;
                      }),
        Table::Method("DeleteRow", 10, {Long("row")}, VT_BOOL,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                          result = grid.DeleteRow(args[0].lVal);
                          return S_OK;
                      }),
        Table::Method("DeleteCurrentRow", 11, {}, VT_BOOL,
                      [](CQORGridCtrl& grid, CDispArgs&, CComVariant& result) {
                          result = grid.DeleteCurrentRow();
                          return S_OK;
                      }),
        Table::Method(
            "FindRow", 12, {Text("colName"), Text("filterValue"), Bool("bScrollToRow")}, VT_BOOL,
            [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                result = grid.FindRow(args[0].Text(), args[1].Text(), IsTrue(args[2]));
                return S_OK;
            }),
        Table::Method("ClearGrid", 13, {}, VT_BOOL,
                      [](CQORGridCtrl& grid, CDispArgs&, CComVariant& result) {
                          result = grid.ClearGrid();
                          return S_OK;
                      }),
    };
    for (auto& entry : ItemMembers("AddDropDownItem", 14, &CQORGridCtrl::AddDropDownItem,
                                   &CQORGridCtrl::AddDropDownItemByName)) {
        members.push_back(std::move(entry));
    }
    members.push_back(Table::Method("ClearDropDown", 16, {Long("col")}, VT_I4,
                                    [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                                        result = grid.ClearDropDown(args[0].lVal);
                                        return S_OK;
                                    }));
    members.push_back(Table::Method("ClearDropDownByName", 17, {Text("colName")}, VT_I4,
                                    [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                                        result = grid.ClearDropDownByName(args[0].Text());
                                        return S_OK;
                                    }));
    for (auto& entry :
         ItemMembers("SetCheckBoxCheckedValue", 18, &CQORGridCtrl::SetCheckBoxCheckedValue,
                     &CQORGridCtrl::SetCheckBoxCheckedValueByName)) {
        members.push_back(std::move(entry));
    }
    for (auto& entry :
         ItemMembers("SetCheckBoxUnCheckedValue", 20, &CQORGridCtrl::SetCheckBoxUnCheckedValue,
                     &CQORGridCtrl::SetCheckBoxUnCheckedValueByName)) {
        members.push_back(std::move(entry));
    }
    std::vector<Table::Entry> rest = {
        Table::Method("BindToDatabase", 22, {DispParam::In("adoConn", VT_DISPATCH), Text("strSQL")},
                      VT_BOOL,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                          result = grid.BindToDatabase(args[0].pdispVal, args[1].Text());
                          return S_OK;
                      }),
        Table::Method("Sort", 23, {Long("colNo")}, VT_EMPTY,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant&) {
                          grid.Sort(args[0].lVal);
                          return S_OK;
                      }),
        Table::Method("GetRowCount", 24, {DispParam::Out("rowCount", VT_I4)}, VT_BOOL,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                          std::int32_t count = 0;
                          result = grid.GetRowCount(count);
                          args[0] = CComVariant(static_cast<int>(count));
                          return S_OK;
                      }),
        Table::Method("IsModified", 25, {}, VT_BOOL,
                      [](CQORGridCtrl& grid, CDispArgs&, CComVariant& result) {
                          result = grid.IsModified();
                          return S_OK;
                      }),
        Table::Method("IsRowNew", 26, {Long("row")}, VT_BOOL,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                          result = grid.IsRowNew(args[0].lVal);
                          return S_OK;
                      }),
        Table::Method("GetDeletedRowsCount", 27, {DispParam::Out("deletedRowCount", VT_I4)},
                      VT_BOOL,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                          std::int32_t count = 0;
                          result = grid.GetDeletedRowsCount(count);
                          args[0] = CComVariant(static_cast<int>(count));
                          return S_OK;
                      }),
        Table::Method(
            "GetDeletedRowValue", 28,
            {Long("deletedRow"), Text("columnName"), DispParam::Out("columnValue", VT_BSTR)},
            VT_BOOL,
            [](CQORGridCtrl& grid, CDispArgs& args, CComVariant& result) {
                std::string text;
                const bool found = grid.GetDeletedRowValue(args[0].lVal, args[1].Text(), text);
                if (found) {
                    args[2] = CComVariant(text);
                }
                result = found;
                return S_OK;
            }),
        Table::Method("SetGridColors", 30,
                      {Color("nNormalCellBkColor"), Color("nNormalCellTxtColor"),
                       Color("nHighlightCellBkColor"), Color("nHighlightCellTxtColor")},
                      VT_EMPTY,
                      [](CQORGridCtrl& grid, CDispArgs& args, CComVariant&) {
                          grid.SetGridColors(args[0].ulVal, args[1].ulVal, args[2].ulVal,
                                             args[3].ulVal);
                          return S_OK;
                      }),
        Table::Method("Print", 31, {}, VT_EMPTY,
                      [](CQORGridCtrl& grid, CDispArgs&, CComVariant&) {
                          grid.Print();
                          return S_OK;
                      }),
    };
    for (auto& entry : rest) {
        members.push_back(std::move(entry));
    }
    return members;
}

}  // namespace

const ControlClassInfo& CQORGridCtrl::ClassInfo() {
    static const ControlClassInfo info{"QORGrid",
                                       MakeGuid("{5E0B7C2A-8D14-4F63-9A27-3C61B84E1D05}"),
                                       kProgId,
                                       MakeGuid("{A2C94F37-61B8-4E0D-8F52-D7193E6A0B48}"),
                                       "QORGRID.QORGridPropPage.1",
                                       MakeGuid("{3F8D1E62-B497-4C2A-A05E-91C7D4862F13}"),
                                       MakeGuid("{C71A0E59-24D3-48B6-9E8F-605B2A7D3C94}"),
                                       MakeGuid("{E49B3D06-7C25-4A18-B3F1-8D52C0E6A917}")};
    return info;
}

const CDispatchTable<CQORGridCtrl>& CQORGridCtrl::DispatchTable() {
    static const Table table = MakeControlDispatchTable<CQORGridCtrl>(kProgId, GridMembers());
    return table;
}
