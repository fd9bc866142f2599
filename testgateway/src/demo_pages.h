// The demo's pages that are made per request: the bill a utility-bill form asks for (answered as
// a gateway request, status 888, with a fresh session key for the payment password and the
// account's live balance), and the
// merchant's shop page that sends an order to the device's local gateway and its result page
// that the order's return_url leads to.
#pragma once

#include <memory>

#include <nlohmann/json.hpp>

#include "testgateway/demo_account.h"
#include "testgateway/gateway_key.h"
#include "testgateway/test_gateway.h"

namespace testgateway {

// Serves what the data set's "bill" and "merchant" sections describe (each one is optional).
void serveDemoPages(TestGateway& gateway, const nlohmann::ordered_json& data, GatewayKey& key,
                    std::shared_ptr<DemoAccount> demo);

}  // namespace testgateway
