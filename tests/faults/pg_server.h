// A PostgreSQL server of the test program's own, loaded with the sample data, that the fault
// tests stop and start again under the controls; the shared test server is never touched. Its
// commits are durable, so that what it acknowledged survives an immediate stop.
#pragma once

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

// Seconds a connection to the private server waits for it; calls after a stop may take no
// longer than this to fail.
inline constexpr int kPrivateConnectTimeout = 5;

class PrivatePostgresServer {
  public:
    // The program's server, started at the first use and removed when the program ends. Once it
    // runs, QOR_TEST_PG names it, so that the controls' test helpers bind to it.
    static PrivatePostgresServer& Get() {
        static PrivatePostgresServer server;
        return server;
    }
    PrivatePostgresServer(const PrivatePostgresServer&) = delete;
    PrivatePostgresServer& operator=(const PrivatePostgresServer&) = delete;
    ~PrivatePostgresServer() {
        if (!m_parent.empty()) {
            Run("stop");
            std::error_code ignored;
            std::filesystem::remove_all(m_parent, ignored);
        }
    }

    // No server binaries on this machine: the tests skip, unless QOR_REQUIRE_PG is set.
    bool NotInstalled() const { return m_notInstalled; }
    // Why the server does not run; empty when it runs.
    const std::string& Problem() const { return m_problem; }
    const std::string& ConnectionString() const { return m_connectionString; }

    // Stops the server in the shutdown mode, "fast" or "immediate", keeping its data.
    ::testing::AssertionResult Halt(const std::string& mode) { return Checked("halt " + mode); }
    // Starts the halted server again on the same data and port.
    ::testing::AssertionResult Start() { return Checked("start"); }

  private:
    PrivatePostgresServer() {
        if (!HasServerBinaries()) {
            m_notInstalled = true;
            m_problem = "no PostgreSQL server binaries in /usr/lib/postgresql";
            return;
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qor-pg-faults-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            m_problem = "no temporary folder for the server";
            return;
        }
        m_parent = pattern;
        // The server runs as the postgres user when the tests run as root: it must reach its
        // folder inside this one.
        std::filesystem::permissions(m_parent, std::filesystem::perms::owner_all |
                                                   std::filesystem::perms::group_exec |
                                                   std::filesystem::perms::others_exec);
        m_port = FreePort();
        if (const ::testing::AssertionResult started = Start(); !started) {
            m_problem = started.message();
            return;
        }
        std::string out;
        if (Run("env", &out) != 0 || out.find('\'') == std::string::npos) {
            m_problem = "the server does not say where it is: " + out;
            return;
        }
        const std::size_t first = out.find('\'') + 1;
        m_connectionString = out.substr(first, out.rfind('\'') - first) +
                             ";Connect Timeout=" + std::to_string(kPrivateConnectTimeout);
        setenv("QOR_TEST_PG", m_connectionString.c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
    }

    static bool HasServerBinaries() {
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator("/usr/lib/postgresql", error)) {
            if (std::filesystem::exists(entry.path() / "bin" / "initdb")) {
                return true;
            }
        }
        return false;
    }

    // A port nobody listens on now: the one the system hands out for an unbound socket.
    static int FreePort() {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        int port = 0;
        if (fd >= 0 &&
            ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&  // NOLINT
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {  // NOLINT
            port = ntohs(address.sin_port);
        }
        if (fd >= 0) {
            ::close(fd);
        }
        return port;
    }

    ::testing::AssertionResult Checked(const std::string& command) {
        std::string out;
        if (Run(command, &out) == 0) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "pg-test-server " << command << ": " << out;
    }

    // Runs the test server script on the program's folder; its exit status, its output in out.
    int Run(const std::string& command, std::string* out = nullptr) const {
        const std::string line = "QOR_PG_DIR='" + (m_parent / "server").string() +
                                 "' QOR_PG_PORT=" + std::to_string(m_port) + " QOR_PG_DURABLE=1" +
                                 " QOR_PG_SAMPLE_SQL='" QOR_SAMPLE_PG_SCRIPT "' '" QOR_SOURCE_DIR
                                 "/scripts/pg-test-server' " +
                                 command + " 2>&1";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(line.c_str(), "r"), ::pclose);
        if (pipe == nullptr) {
            return -1;
        }
        std::array<char, 512> buffer{};
        std::string text;
        while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()) != nullptr) {
            text += buffer.data();
        }
        if (out != nullptr) {
            *out = text;
        }
        return ::pclose(pipe.release());
    }

    std::filesystem::path m_parent;
    int m_port = 0;
    bool m_notInstalled = false;
    std::string m_problem;
    std::string m_connectionString;
};

// Skips the test when the machine has no PostgreSQL server, unless QOR_REQUIRE_PG asks for it;
// fails it when the server is installed but does not run.
#define USE_PRIVATE_POSTGRES_SERVER()                                                          \
    do {                                                                                       \
        const PrivatePostgresServer& server_ = PrivatePostgresServer::Get();                   \
        if (server_.NotInstalled() && std::getenv("QOR_REQUIRE_PG") == nullptr) { /* NOLINT */ \
            GTEST_SKIP() << server_.Problem();                                                 \
        }                                                                                      \
        ASSERT_EQ(server_.Problem(), "");                                                      \
    } while (false)
