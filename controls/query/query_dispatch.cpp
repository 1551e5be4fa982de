// The query list's names and identifiers and its dispatch interface, _DQORQuery.
#include <string>

#include "controls/query/query_ctrl.h"

namespace {

constexpr const char* kProgId = "QORQUERY.QORQueryCtrl.1";

using Table = CDispatchTable<CQORQueryCtrl>;

std::vector<Table::Entry> QueryMembers() {
    return {
        Table::Method("BindToDatabase", 1,
                      {DispParam::In("adoConn", VT_DISPATCH), DispParam::In("sSql", VT_BSTR)},
                      VT_BOOL,
                      [](CQORQueryCtrl& query, CDispArgs& args, CComVariant& result) {
                          result = query.BindToDatabase(args[0].pdispVal, args[1].Text());
                          return S_OK;
                      }),
        Table::Method("SelectAll", 2, {DispParam::In("bSelect", VT_BOOL)}, VT_EMPTY,
                      [](CQORQueryCtrl& query, CDispArgs& args, CComVariant&) {
                          query.SelectAll(args[0].boolVal != VARIANT_FALSE);
                          return S_OK;
                      }),
        Table::Method("Print", 3, {}, VT_EMPTY,
                      [](CQORQueryCtrl& query, CDispArgs&, CComVariant&) {
                          query.Print();
                          return S_OK;
                      }),
        Table::Method("PrintSelected", 4, {}, VT_EMPTY,
                      [](CQORQueryCtrl& query, CDispArgs&, CComVariant&) {
                          query.PrintSelected();
                          return S_OK;
                      }),
        Table::Method("MoveToFirstSelected", 5, {}, VT_BOOL,
                      [](CQORQueryCtrl& query, CDispArgs&, CComVariant& result) {
                          result = query.MoveToFirstSelected();
                          return S_OK;
                      }),
        Table::Method("MoveToNextSelected", 6, {}, VT_BOOL,
                      [](CQORQueryCtrl& query, CDispArgs&, CComVariant& result) {
                          result = query.MoveToNextSelected();
                          return S_OK;
                      }),
        // The text goes to the out-parameter only when the field is read.
        Table::Method("GetFieldValue", 7,
                      {DispParam::In("colName", VT_BSTR), DispParam::Out("value", VT_BSTR)},
                      VT_BOOL,
                      [](CQORQueryCtrl& query, CDispArgs& args, CComVariant& result) {
                          std::string text;
                          const bool read = query.GetFieldValue(args[0].Text(), text);
                          if (read) {
                              args[1] = CComVariant(text);
                          }
                          result = read;
                          return S_OK;
                      }),
    };
}

}  // namespace

const ControlClassInfo& CQORQueryCtrl::ClassInfo() {
    static const ControlClassInfo info{"QORQuery",
                                       MakeGuid("{8B3E5A17-2C94-4D60-B1F8-7E05C9A3D641}"),
                                       kProgId,
                                       MakeGuid("{D61F0B83-95A2-47CE-8E3B-2A7C41F9056D}"),
                                       "QORQUERY.QORQueryPropPage.1",
                                       MakeGuid("{4A92C6E0-1B7D-4F35-A8C3-95E2D07B1F48}"),
                                       MakeGuid("{F0C83B25-6E19-4DA7-9B52-C4A1E7063D89}"),
                                       MakeGuid("{27D5E941-B0A6-4C83-8F1E-5B39A2C7D064}")};
    return info;
}

const CDispatchTable<CQORQueryCtrl>& CQORQueryCtrl::DispatchTable() {
    static const Table table = MakeControlDispatchTable<CQORQueryCtrl>(kProgId, QueryMembers());
    return table;
}
