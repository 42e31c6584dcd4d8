// What the window shows of how an account's checks go: the lines of its button's tooltip and of
// its menu, whether its button carries the warning badge, and the status bar text while the
// selected mail's account is failing. Pure functions of the account and the time now.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class TAccount;

// Failed checks in a row from which the account's button carries a warning badge.
inline constexpr std::int32_t BadgeFailures = 2;

bool ShowsHealthBadge(const TAccount& Account);

// A moment of the account's health in local time: "10:42" on NowMs's day, "2026-12-06 10:42" on
// another.
std::string HealthTime(std::int64_t AtMs, std::int64_t NowMs);

// The lines about the account's checks, for its tooltip and its menu: the last good check, the
// last failure with its text, and the failures in a row once there are two. None before the
// account's first check.
std::vector<std::string> HealthLines(const TAccount& Account, std::int64_t NowMs);

// The account button's tooltip: the label, then the health lines.
std::string HealthTooltip(const TAccount& Account, std::int64_t NowMs);

// The status bar while the account's last check failed, empty while it did not:
// "Alice: last check failed at 10:42 (Failed on login: ...); last good check 09:12".
std::string HealthStatusText(const TAccount& Account, std::int64_t NowMs);

} // namespace quillet
