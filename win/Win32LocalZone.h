#pragma once
// The system's time zone as the portable core asks for it: the zone the
// user chose in Windows, with its daylight-saving rules for the year in
// question, so that a programme next summer shows at its summer time.

#include "core/time/LocalZone.h"

class Win32LocalZone final : public LocalZone {
 public:
  CivilTime ToLocal(std::int64_t utcSeconds) const override;
  std::int64_t ToUtc(const CivilTime& local) const override;
};
