// Start-up and end of qorhost.
#include "tools/qorhost/host_app.h"

#include <cstdio>
#include <string>

#include "embed/member_call.h"
#include "platform/ado/ado.h"
#include "platform/com/module_loader.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "tools/qorhost/control_host.h"
#include "tools/qorhost/interactive_host.h"
#include "tools/qorhost/script_runner.h"

namespace {

constexpr SIZE kScriptAreaSize{800, 600};

void PrintError(const std::string& text) {
    std::fputs(text.c_str(), stderr);
    std::fputc('\n', stderr);
}

}  // namespace

CHostApp::CHostApp(HostOptions options) : m_options(std::move(options)) {}

CHostApp::~CHostApp() = default;

bool CHostApp::InitInstance() {
    if (!PrepareClasses()) {
        m_exitCode = 1;
        return false;
    }
    PrepareDialogs();
    if (!m_options.scriptPath.empty()) {
        return RunScriptMode();
    }
    m_controls = std::make_unique<CControlHost>();
    m_window = std::make_unique<CInteractiveHost>(*m_controls);
    if (!m_window->Create()) {
        PrintError("qorhost: cannot create the window");
        m_exitCode = 1;
        return false;
    }
    m_pMainWnd = &m_controls->Area();
    return true;
}

int CHostApp::ExitInstance() {
    m_pMainWnd = nullptr;
    m_window.reset();
    m_controls.reset();
    return m_exitCode;
}

bool CHostApp::PrepareClasses() {
    const HRESULT hr = RegisterAdoClasses();
    if (FAILED(hr)) {
        PrintError(DescribeFailure("qorhost: the data-access classes", hr).message);
        return false;
    }
    UseClassRegistry();
    return true;
}

void CHostApp::PrepareDialogs() {
    if (!m_options.headless) {
        return;
    }
    auto service = std::make_unique<CScriptedDialogService>();
    m_dialogs = service.get();
    SetDialogService(std::move(service));
}

// The script runs before the event loop would start; the program ends with it.
bool CHostApp::RunScriptMode() {
    m_controls = std::make_unique<CControlHost>();
    if (!m_controls->CreateArea("QOR Control Host", kScriptAreaSize)) {
        PrintError("qorhost: cannot create the host window");
        m_exitCode = 1;
        return false;
    }
    ScriptRequest request;
    request.path = m_options.scriptPath;
    request.args = m_options.scriptArgs;
    request.controls = m_controls.get();
    request.dialogs = m_dialogs;
    const ScriptResult result = RunScriptFile(request);
    if (!result.error.empty()) {
        PrintError(result.error);
    }
    m_exitCode = result.exitCode;
    return false;
}
