// Pieces the PostgreSQL fault tests share: the shutdown modes a case stops the server in, the
// restart that every case leaves behind, the error text of a lost connection and what the
// database holds, read on a connection of the checker's own.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "controls/common/data_connection.h"
#include "controls/common/data_recordset.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/recording_printer.h"
#include "tests/faults/pg_server.h"

// pg_ctl's shutdown modes: fast ends the sessions cleanly, immediate kills the server outright.
inline constexpr std::array<const char*, 2> kShutdownModes = {"fast", "immediate"};

inline std::string ShutdownModeName(const ::testing::TestParamInfo<const char*>& info) {
    return info.param;
}

// What every call on a connection whose server went away reports.
inline auto LostConnectionText() {
    return ::testing::HasSubstr("The connection to the PostgreSQL server was lost");
}

// Starts the server again at the end of a case that stopped it, also when the case failed
// half-way, so that the next case finds it running.
class ServerRestart {
  public:
    void Ensure() {
        if (PrivatePostgresServer::Get().Problem().empty()) {
            EXPECT_TRUE(PrivatePostgresServer::Get().Start());
        }
    }
};

// The text of one value of the table's first row matching the condition, or "(unreadable)".
inline std::string StoredText(CDataConnection& connection, const std::string& table,
                              const std::string& expression, const std::string& condition) {
    CDataRecordset recordset(connection);
    std::string text;
    if (!recordset.Open("SELECT " + expression + " FROM " + table + " WHERE " + condition) ||
        !recordset.MoveFirst() || !recordset.GetFieldText(0, text)) {
        return "(unreadable)";
    }
    return text;
}

// A print whose records could not all be read: no document ended as if whole, and the user
// told that the connection was lost.
inline void ExpectPrintDroppedAndTold(const CRecordingPrinter& printer,
                                      ScopedScriptedDialogs& dialogs) {
    for (const PrintedDocument& document : printer.Documents()) {
        EXPECT_NE(document.state, PrintedDocument::State::Ended);
    }
    ASSERT_FALSE(dialogs->Shown().empty());
    EXPECT_THAT(dialogs->Shown().back().text, LostConnectionText());
}
