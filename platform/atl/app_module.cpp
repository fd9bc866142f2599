// The application module: instances and the registry of message loops per thread.
#include "atl/app_module.h"

#include <atomic>

namespace {

std::atomic<CAppModule*> g_module{nullptr};

}  // namespace

CAppModule::CAppModule()
{
  g_module = this;
}

CAppModule::~CAppModule()
{
  CAppModule* self = this;
  g_module.compare_exchange_strong(self, nullptr);
}

HRESULT CAppModule::Init(void*, HINSTANCE instance)
{
  std::lock_guard<std::mutex> guard(m_lock);
  m_instance = instance;
  m_resourceInstance = instance;
  return S_OK;
}

void CAppModule::Term()
{
  std::lock_guard<std::mutex> guard(m_lock);
  m_loops.clear();
}

HINSTANCE CAppModule::GetResourceInstance() const
{
  std::lock_guard<std::mutex> guard(m_lock);
  return m_resourceInstance;
}

HINSTANCE CAppModule::SetResourceInstance(HINSTANCE instance)
{
  std::lock_guard<std::mutex> guard(m_lock);
  HINSTANCE old = m_resourceInstance;
  m_resourceInstance = instance;
  return old;
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop)
{
  if (!loop)
    return FALSE;
  std::lock_guard<std::mutex> guard(m_lock);
  return m_loops.emplace(::GetCurrentThreadId(), loop).second ? TRUE : FALSE;
}

BOOL CAppModule::RemoveMessageLoop()
{
  std::lock_guard<std::mutex> guard(m_lock);
  return m_loops.erase(::GetCurrentThreadId()) ? TRUE : FALSE;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const
{
  std::lock_guard<std::mutex> guard(m_lock);
  auto it = m_loops.find(threadId);
  return it == m_loops.end() ? nullptr : it->second;
}

CAppModule* AtlGetAppModule()
{
  return g_module.load();
}

HINSTANCE AtlGetResourceInstance()
{
  CAppModule* module = g_module.load();
  return module ? module->GetResourceInstance() : nullptr;
}
