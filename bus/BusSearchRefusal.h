#pragma once
// Why the transfer search does not run for two stop names: the information box the bus panel
// shows in its place. Shared by the panel and qiwu-cli, so both refuse alike.
#include <QString>
#include <optional>

#include "kit/Messages.h"

// The box for an empty name or two equal names (taken as typed, not trimmed); nothing when the
// search runs.
std::optional<qiwu::Message> BusSearchRefusal(const QString& departure, const QString& destination);
