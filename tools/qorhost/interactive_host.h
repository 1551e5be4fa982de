// The interactive window of qorhost: registered controls to insert, objects to create, the
// members of the selected one to call with typed arguments, its About box and property page.
#pragma once

#include <memory>

class CControlHost;

class CInteractiveHost {
  public:
    explicit CInteractiveHost(CControlHost& controls);
    CInteractiveHost(const CInteractiveHost&) = delete;
    CInteractiveHost& operator=(const CInteractiveHost&) = delete;
    // Gives the host area back to the control host before the window goes.
    ~CInteractiveHost();

    // Creates the host area inside the window and shows it; false when it cannot. The
    // widgets carry object names ("progId", "createObject", "member", "arguments", "invoke",
    // "output", ...) by which tests find them.
    bool Create();

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
