// korvex-testgateway: the scripted gateway as a program, for the demo and for trying the
// client by hand. Prints its URL on the first line of standard output and runs until it is
// interrupted or terminated.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "testgateway/demo_account.h"
#include "testgateway/script_file.h"
#include "testgateway/test_gateway.h"

namespace {

constexpr const char* kUsage =
    "usage: korvex-testgateway --port N [--tls CERTDIR] [--demo] [--demo-data FILE] [--update-package FILE]\n"
    "                          [--script FILE]\n"
    "  --port N          listen on 127.0.0.1:N (0 picks a free port)\n"
    "  --tls CERTDIR     serve HTTPS; the test CA and certificates are kept in CERTDIR (ca.pem to trust)\n"
    "  --demo            answer every operation from the demo account\n"
    "  --demo-data FILE  the demo account's data set (default: the one in the source tree)\n"
    "  --update-package FILE\n"
    "                    with --demo: serve this package and offer it as the data set's newer version\n"
    "  --script FILE     scripted replies (JSON), taking precedence over the demo\n";

[[noreturn]] void usage(const std::string& problem) {
  std::cerr << "korvex-testgateway: " << problem << "\n" << kUsage;
  std::exit(2);
}

struct Arguments {
  std::optional<int> port;
  std::optional<std::string> tlsDir;
  bool demo = false;
  std::string demoData = KV_TESTGATEWAY_DEMO_DATA;
  std::optional<std::string> updatePackage;
  std::optional<std::string> script;
};

Arguments parse(int argc, char** argv) {
  Arguments arguments;
  for (int i = 1; i < argc; ++i) {
    std::string_view option = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) usage(std::string(option) + " needs a value");
      return argv[++i];
    };
    if (option == "--port") {
      std::string text = value();
      char* end = nullptr;
      long port = std::strtol(text.c_str(), &end, 10);
      if (*end != '\0' || port < 0 || port > 65535) usage("bad port " + text);
      arguments.port = static_cast<int>(port);
    } else if (option == "--tls") {
      arguments.tlsDir = value();
    } else if (option == "--demo") {
      arguments.demo = true;
    } else if (option == "--demo-data") {
      arguments.demoData = value();
    } else if (option == "--update-package") {
      arguments.updatePackage = value();
    } else if (option == "--script") {
      arguments.script = value();
    } else if (option == "--help" || option == "-h") {
      std::cout << kUsage;
      std::exit(0);
    } else {
      usage("unknown option " + std::string(option));
    }
  }
  if (!arguments.port) usage("--port is required");
  if (arguments.updatePackage && !arguments.demo) usage("--update-package needs --demo");
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments = parse(argc, argv);

  // Blocked here so every thread inherits it and only the wait below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  testgateway::GatewayOptions options;
  if (arguments.tlsDir) {
    options.http = false;
    options.tlsDir = *arguments.tlsDir;
    options.httpsPort = static_cast<std::uint16_t>(*arguments.port);
  } else {
    options.httpPort = static_cast<std::uint16_t>(*arguments.port);
  }
  testgateway::TestGateway gateway(options);
  try {
    if (arguments.demo) testgateway::installDemo(gateway, arguments.demoData, arguments.updatePackage);
    if (arguments.script) testgateway::loadScriptFile(gateway, *arguments.script);
    gateway.start();
  } catch (const std::exception& error) {
    std::cerr << "korvex-testgateway: " << error.what() << "\n";
    return 1;
  }
  std::cout << gateway.url() << std::endl;
  if (arguments.tlsDir) std::cerr << "trust " << gateway.tlsFiles().caCertificate.string() << "\n";

  int signal = 0;
  sigwait(&stopSignals, &signal);
  gateway.stop();
  return 0;
}
