// Firmware image reading over arbitrary bytes: the layout, version text, finish
// wait, data blocks, the family of the version text, and the open's check.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "acceptance_checks.h"
#include "firmware/acceptance.h"
#include "firmware/family.h"
#include "firmware/image.h"
#include "require.h"

namespace {

void CheckLayout(std::span<const std::uint8_t> bytes, const firmware::ImageLayout& layout) {
  const std::size_t r = bytes.size() / 2;
  Require(layout.records == r, "R is the size divided by 2");
  const std::size_t l = r < 8 ? 0 : (r - 8) / 512;
  Require(static_cast<std::size_t>(layout.last_block_nr) == l, "L is (R - 8) / 512");
  Require(layout.blocks_complete == (1024 * (l + 1) <= bytes.size()), "blocks 0..L held whole");
  if (r == 0) {
    Require(!layout.checksum_ok, "no checksum byte, no pass");
    return;
  }
  unsigned sum = 0;
  for (std::size_t i = 0; i + 2 < 2 * r; ++i) sum += bytes[i];
  Require(layout.checksum_summed == static_cast<std::uint8_t>(sum), "sum of bytes 0..2R-3");
  Require(layout.checksum_stored == bytes[2 * r - 1], "checksum is byte 2R-1");
  Require(layout.checksum_ok == (layout.checksum_summed == layout.checksum_stored), "verdict");
}

void CheckBlock(std::span<const std::uint8_t> bytes, std::int32_t n) {
  const auto block = firmware::DataBlock(bytes, n);
  if (block.empty()) {
    Require(n < 0 || (static_cast<std::size_t>(n) + 1) * 1024 > bytes.size(), "held block missed");
    return;
  }
  Require(block.size() == firmware::block_size, "a block is 1024 bytes");
  Require(block.data() == bytes.data() + static_cast<std::size_t>(n) * 1024, "block n at 1024n");
  Require(block.data() + block.size() <= bytes.data() + bytes.size(), "block inside the file");
}

void CheckTexts(std::span<const std::uint8_t> bytes) {
  const std::string version = firmware::ImageVersion(bytes);
  Require(version.size() == std::min<std::size_t>(bytes.size(), 9), "version is 9 bytes");
  const auto wait = firmware::ImageFinishWait(bytes);
  if (wait) Require(*wait >= 0 && *wait <= 9999 && bytes.size() >= 13, "wait of 4 digits");
  const auto family = firmware::FamilyOfImage(version);
  Require(family.supported == (family.rule >= 1 && family.rule <= 5), "rules 1-5 supported");
  Require(family.supported == (family.link_kind != firmware::Link::none),
          "a supported family has a link");
  Require(!family.fast_baud || firmware::FastFamily(version), "fast only for 6 and 8");
}

// An accepted image holds every block the download will read; a refused one
// fails the check its refusal names.
void CheckAcceptance(std::span<const std::uint8_t> bytes) {
  const std::vector<std::uint8_t> file(bytes.begin(), bytes.end());
  const auto verdict =
      firmware::AcceptFile("unit.fm0", [&file](const std::string&) { return file; });
  Require(!std::holds_alternative<firmware::AcceptedScript>(verdict), "an image is no script");
  if (const auto* image = std::get_if<firmware::AcceptedImage>(&verdict)) {
    RequirePassed(*image);
    for (std::int32_t n = 0; n <= image->layout.last_block_nr; ++n) {
      Require(!firmware::DataBlock(bytes, n).empty(), "every block sent is held");
    }
    return;
  }
  const auto& refusal = std::get<firmware::Refusal>(verdict);
  Require(!refusal.NamedInScript() && refusal.passed.empty(), "an image stands alone");
  RequireImageRefusalHolds(refusal);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto layout = firmware::InspectImage(bytes);
  CheckLayout(bytes, layout);
  const std::int32_t l = layout.last_block_nr;
  for (const std::int32_t n : {-1, 0, l - 1, l, l + 1, std::numeric_limits<std::int32_t>::max()})
    CheckBlock(bytes, n);
  CheckTexts(bytes);
  CheckAcceptance(bytes);
  return 0;
}
