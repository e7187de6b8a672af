#pragma once

#include <algorithm>
#include <optional>
#include <vector>

#include "core/ts/PsipSection.h"

// Builds a table sent in several sections (numbers 0 to last) from its parsed
// sections, which arrive in any order and repeat. Sections of the table that
// applies next (current/next clear) are ignored. A section of another
// version, table id extension or section count starts the table over, so the
// newest version wins and sections of two versions are never mixed. Table
// needs a free function AppendSection(Table&, const Table&) that adds a later
// section's entries.
template <class Table>
class SectionedTable {
 public:
  // Takes a section; true when it completed the table.
  bool Add(TableSection<Table> section) {
    const LongSectionHeader& header = section.header;
    if (!header.current) return false;
    if (!IsSameTable(header)) {
      held_ = header;
      parts_.assign(std::size_t{header.lastSectionNumber} + 1, std::nullopt);
      complete_.reset();
    }
    if (complete_) return false;  // a repeat of a table already complete
    auto& slot = parts_[header.sectionNumber];
    if (!slot) slot = std::move(section.part);
    if (!std::all_of(parts_.begin(), parts_.end(), [](const auto& p) { return p.has_value(); })) {
      return false;
    }
    complete_ = std::move(*parts_[0]);
    for (std::size_t i = 1; i < parts_.size(); ++i) AppendSection(*complete_, *parts_[i]);
    parts_.clear();
    return true;
  }

  // The whole table once every section of its newest version has come.
  const std::optional<Table>& Complete() const { return complete_; }

 private:
  bool IsSameTable(const LongSectionHeader& header) const {
    return held_ && held_->version == header.version && held_->idExtension == header.idExtension &&
           held_->lastSectionNumber == header.lastSectionNumber;
  }

  std::optional<LongSectionHeader> held_;
  std::vector<std::optional<Table>> parts_;
  std::optional<Table> complete_;
};
