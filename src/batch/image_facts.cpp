#include "batch/image_facts.h"

#include <cstdio>
#include <iomanip>

#include "batch/printable.h"

namespace batch {

namespace {

std::string Hex(std::uint8_t b) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", b);
  return text;
}

std::string PortKindText(firmware::PortKind kind) {
  switch (kind) {
    case firmware::PortKind::rs232:
      return "RS232 (com.ini)";
    case firmware::PortKind::rs232_over_usb:
      return "RS232 over USB (com_2.ini)";
    case firmware::PortKind::none:
      return "none";
  }
  return "none";
}

}  // namespace

void Field(std::ostream& out, const std::string& name, const std::string& value) {
  out << std::left << std::setw(14) << (name + ":") << value << '\n';
}

void PrintFamily(std::ostream& out, const firmware::Family& family, const std::string& code,
                 const std::string& indent) {
  const std::string shown = Printable(code.substr(0, 2));
  if (!family.supported) {
    Field(out, indent + "Family", shown + " (not supported)");
    return;
  }
  Field(out, indent + "Family", shown + " (rule " + std::to_string(family.rule) + ")");
  Field(out, indent + "Link",
        family.link_kind == firmware::Link::hid ? "USB HID bridge" : "serial port");
  Field(out, indent + "Port kind", PortKindText(family.port));
  Field(out, indent + "Baud",
        family.link_kind == firmware::Link::hid ? "none (HID)"
        : family.fast_baud                      ? "921600"
                                                : "115200");
}

void PrintBlocks(std::ostream& out, const firmware::ImageLayout& layout,
                 const std::string& indent) {
  const std::int32_t last = layout.last_block_nr;
  if (last == 0) {
    Field(out, indent + "Blocks", "none (no 1024 data blocks)");
    return;
  }
  std::string text = std::to_string(last + 1) + " (blocks 0 to " + std::to_string(last) + ", " +
                     std::to_string((last + 1) * 1024) + " bytes)";
  if (!layout.blocks_complete) text += ", block " + std::to_string(last) + " incomplete";
  Field(out, indent + "Blocks", text);
}

void PrintChecksum(std::ostream& out, const firmware::ImageLayout& layout,
                   const std::string& indent) {
  if (layout.records == 0) {
    Field(out, indent + "Checksum", "none (the file is shorter than one record)");
  } else if (layout.checksum_ok) {
    Field(out, indent + "Checksum", "ok (" + Hex(layout.checksum_stored) + ")");
  } else {
    Field(out, indent + "Checksum",
          "wrong (stored " + Hex(layout.checksum_stored) + ", sum " + Hex(layout.checksum_summed) +
              ")");
  }
}

std::string FinishWaitText(const firmware::ImageFacts& image) {
  if (!image.finish_wait) return "unreadable (bytes 9 to 12 are no whole number)";
  const std::int32_t wait = *image.finish_wait;
  if (wait == 0) return "none (no time limit)";
  char text[48];
  std::snprintf(text, sizeof text, "%d.%d s", wait / 10, wait % 10);
  return text;
}

}  // namespace batch
