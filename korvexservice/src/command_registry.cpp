#include "command_registry.h"

#include "base/lasterror.h"

CommandFactoryMap& GetCommandFactoryMap()
{
  // Kept until the process ends, so a late request never meets a destroyed map.
  static CommandFactoryMap* map = new CommandFactoryMap;
  return *map;
}

ServiceCommandFactory& RegisterCommandFactory(CommandFactoryMap& map, const char* name)
{
  return map[name];
}

CServiceCommand* CreateServiceCommand(CommandFactoryMap& map, const char* name, const Json::Value& params,
                                      IServiceListener* listener)
{
  auto found = map.find(name != nullptr ? name : "");
  if (found == map.end() || found->second == nullptr) {
    SetLastError(static_cast<DWORD>(E_NOTIMPL));
    return nullptr;
  }
  CServiceCommand* command = found->second(params, listener);
  if (command == nullptr) {
    SetLastError(static_cast<DWORD>(E_OUTOFMEMORY));
  }
  return command;
}
