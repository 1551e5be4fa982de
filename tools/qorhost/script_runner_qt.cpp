// The script engine of the host: the prelude, the global `host`, the run and its outcome.
#include "tools/qorhost/script_runner.h"

#include <QJSEngine>
#include <QStringList>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "tools/qorhost/script_host_qt.h"
#include "tools/qorhost/script_prelude.h"
#include "tools/qorhost/script_values_qt.h"

namespace {

const QString kPreludeName = QStringLiteral("qorhost-prelude");

// The line of an uncaught exception in the script: the innermost frame of the stack trace
// ("function:line:column:file") outside the prelude, whose proxies raise the errors of
// dispatch calls; without a trace (a syntax error) the error object's own line.
int LineOf(const QJSValue& exception, const QStringList& trace) {
    for (const QString& frame : trace) {
        const QStringList parts = frame.split(u':');
        if (parts.size() > 3 && !frame.contains(kPreludeName)) {
            return parts[1].toInt();
        }
    }
    return exception.property(QStringLiteral("lineNumber")).toInt();
}

std::string DescribeUncaught(const std::string& path, const QJSValue& exception,
                             const QStringList& trace) {
    std::ostringstream text;
    text << path << ':' << LineOf(exception, trace) << ": Uncaught "
         << exception.toString().toStdString();
    return text.str();
}

// The engine and what lives in it, torn down in one place: the engine goes first, so that
// the objects the script still holds are released while the host is still there.
class CScriptSession {
  public:
    explicit CScriptSession(const ScriptRequest& request)
        : m_engine(std::make_unique<QJSEngine>()),
          m_values(std::make_unique<CScriptValues>(*m_engine)),
          m_host(std::make_unique<CScriptHost>(request, *m_values)) {}
    CScriptSession(const CScriptSession&) = delete;
    CScriptSession& operator=(const CScriptSession&) = delete;
    ~CScriptSession() {
        m_host->ReleaseScriptValues();
        m_engine.reset();
        m_values.reset();
    }

    bool Prepare(std::string& error) {
        const QJSValue prelude =
            m_engine->evaluate(QString::fromUtf8(ScriptPrelude().data(),
                                                 static_cast<qsizetype>(ScriptPrelude().size())),
                               kPreludeName);
        QJSEngine::setObjectOwnership(m_host.get(), QJSEngine::CppOwnership);
        const QJSValue parts = prelude.call({m_engine->newQObject(m_host.get())});
        if (prelude.isError() || parts.isError() || !parts.isObject()) {
            error = "qorhost: the script prelude failed: " + parts.toString().toStdString();
            return false;
        }
        m_values->SetPrelude(parts.property(QStringLiteral("wrap")),
                             parts.property(QStringLiteral("Ref")),
                             parts.property(QStringLiteral("callable")));
        m_engine->globalObject().setProperty(QStringLiteral("host"),
                                             parts.property(QStringLiteral("host")));
        return true;
    }

    ScriptResult Run(const ScriptRequest& request) {
        QStringList trace;
        const QJSValue outcome =
            m_engine->evaluate(QString::fromStdString(request.source),
                               QString::fromStdString(request.path), 1, &trace);
        if (m_host->ExitRequested()) {
            m_engine->setInterrupted(false);
            return ScriptResult{m_host->ExitCode(), {}};
        }
        if (outcome.isError() || !trace.isEmpty()) {
            return ScriptResult{1, DescribeUncaught(request.path, outcome, trace)};
        }
        return ScriptResult{0, {}};
    }

  private:
    std::unique_ptr<QJSEngine> m_engine;
    std::unique_ptr<CScriptValues> m_values;
    // The engine does not own the host: it is handed over with C++ ownership.
    std::unique_ptr<CScriptHost> m_host;
};

}  // namespace

ScriptResult RunScript(const ScriptRequest& request) {
    CScriptSession session(request);
    std::string error;
    if (!session.Prepare(error)) {
        return ScriptResult{1, error};
    }
    return session.Run(request);
}

ScriptResult RunScriptFile(ScriptRequest request) {
    std::ifstream file(request.path, std::ios::binary);
    if (!file) {
        return ScriptResult{1, "qorhost: cannot read the script \"" + request.path + "\""};
    }
    request.source.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return RunScript(request);
}
