// The command registry: one process-wide map from an operation's dispatch name to the factory
// of its command class. Filled once at start-up, read afterwards.
#pragma once

#include <map>
#include <new>
#include <string>

#include "base/types.h"
#include "json/value.h"

class CServiceCommand;
class IServiceListener;

// Makes a new command for the request parameters and the listener; null when memory runs out.
typedef CServiceCommand* (*ServiceCommandFactory)(const Json::Value& params, IServiceListener* listener);

// Dispatch names compare bytewise.
typedef std::map<std::string, ServiceCommandFactory> CommandFactoryMap;

CommandFactoryMap& GetCommandFactoryMap();

// The factory slot for name, created empty when absent; the caller stores the factory in it,
// replacing an earlier one.
ServiceCommandFactory& RegisterCommandFactory(CommandFactoryMap& map, const char* name);

// A new command of the name's class for a copy of params, notifying listener. Null with the
// thread's last error E_NOTIMPL for a name without a factory, E_OUTOFMEMORY when the factory
// could not make one.
CServiceCommand* CreateServiceCommand(CommandFactoryMap& map, const char* name, const Json::Value& params,
                                      IServiceListener* listener);

// The factory of a command class whose constructor takes (params, listener).
template <class Command>
CServiceCommand* MakeServiceCommand(const Json::Value& params, IServiceListener* listener)
{
  return new (std::nothrow) Command(params, listener);
}
