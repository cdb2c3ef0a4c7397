#pragma once

// Invariants of the open's check of a file, shared by the image and script targets.
#include "firmware/acceptance.h"
#include "require.h"

inline void RequirePassed(const firmware::ImageFacts& image) {
  Require(image.readable && image.layout.checksum_ok, "a passed image reads and sums right");
  Require(image.layout.last_block_nr > 0, "a passed image has blocks to send");
  Require(image.layout.blocks_complete, "a passed image holds every block it sends");
  Require(image.family.supported && image.family.link_kind != firmware::Link::none,
          "a passed image has a link");
  Require(image.finish_wait.has_value(), "a passed image's finish wait is known");
}

// The reason a refusal of an image names holds for that image, and the images
// before it passed.
inline void RequireImageRefusalHolds(const firmware::Refusal& refusal) {
  using enum firmware::RefusalReason;
  Require(refusal.image.has_value(), "an image's refusal carries the image");
  const firmware::ImageFacts& image = *refusal.image;
  Require(image.name == refusal.file, "the refusal names the image");
  switch (refusal.reason) {
    case unreadable:
      Require(!image.readable, "unreadable");
      break;
    case damaged:
      Require(image.readable && !image.layout.checksum_ok, "damaged");
      break;
    case no_blocks:
      Require(image.layout.last_block_nr == 0, "no blocks");
      break;
    case incomplete_last_block:
      Require(!image.layout.blocks_complete, "incomplete");
      break;
    case finish_wait_unreadable:
      Require(!image.finish_wait, "finish wait");
      break;
    case unsupported_family:
      Require(!image.family.supported, "unsupported");
      break;
    case not_a_script:
    case no_begin2:
    case no_image:
      Require(false, "a script's reason given for an image");
      break;
  }
  for (const auto& before : refusal.passed) RequirePassed(before);
}
