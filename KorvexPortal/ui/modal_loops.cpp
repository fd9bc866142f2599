// Registering and restoring the thread's message loops around modal dialogs.
#include "modal_loops.h"

#include <algorithm>
#include <vector>

namespace {

// Loops that running modal dialogs of this thread replaced or run, innermost last.
thread_local std::vector<const CMessageLoop*> t_heldLoops;

void Forget(const CMessageLoop* loop)
{
  auto found = std::find(t_heldLoops.rbegin(), t_heldLoops.rend(), loop);
  if (found != t_heldLoops.rend())
    t_heldLoops.erase(std::next(found).base());
}

}  // namespace

ModalLoopScope::ModalLoopScope(CAppModule* module) : m_module(module)
{
  if (!m_module)
    return;
  m_replaced = m_module->GetMessageLoop();
  if (m_replaced) {
    m_module->RemoveMessageLoop();
    t_heldLoops.push_back(m_replaced);
  }
}

ModalLoopScope::~ModalLoopScope()
{
  if (!m_module)
    return;
  if (m_registered) {
    if (m_module->GetMessageLoop() == m_registered)
      m_module->RemoveMessageLoop();
    Forget(m_registered);
  }
  if (m_replaced) {
    m_module->AddMessageLoop(m_replaced);
    Forget(m_replaced);
  }
}

void ModalLoopScope::Register(CMessageLoop* loop)
{
  if (!m_module || !m_module->AddMessageLoop(loop))
    return;
  m_registered = loop;
  t_heldLoops.push_back(loop);
}

bool IsLiveMessageLoop(const CAppModule* module, const CMessageLoop* loop)
{
  if (!loop)
    return false;
  if (module && module->GetMessageLoop() == loop)
    return true;
  return std::find(t_heldLoops.begin(), t_heldLoops.end(), loop) != t_heldLoops.end();
}
