#include "platform/platform.h"

Platform &platform()
{
    static Platform services;
    return services;
}

void installPlatform(Platform services)
{
    platform() = std::move(services);
}
