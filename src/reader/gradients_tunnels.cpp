#include "reader/gradients_tunnels.h"

#include <string>

#include "format/scenario_format.h"
#include "model/numeric.h"
#include "reader/reader_context.h"
#include "reader/fill_value.h"
#include "reader/refuse.h"

namespace scenario {
namespace {

// Kinds above this ask for tunnel markers and stand for kind - 10.
constexpr int32_t kMarkedKinds = 10;
// Every fourth cell of a marked tunnel gets a marker.
constexpr int64_t kMarkerSpacing = 4;
// A tunnel that begins this close after the previous one's exit takes kind 3.
constexpr int64_t kCloseSuccession = 150;
constexpr int32_t kCloseSuccessionKind = 3;
constexpr int32_t kLastTunnel = kTunnelSlots - 1;

constexpr FillRange kGradientRange{"gradient", "\u2030", -kGradientBias, kLargestCellValue - kGradientBias};

uint8_t gradient_value(int32_t per_mille) { return encode_gradient(per_mille); }

// Writes the previous gradient at the fill position and advances; the write
// happens at least once, then as long as the position is below until.
void fill_gradient(RouteModel& model, ReaderState& state, int64_t until) {
  const uint8_t value = encode_fill(gradient_value, state.previous_gradient, state.gradient_site, kGradientRange);
  do {
    cell_at(model, state.gradient_fill).gradient = value;
    ++state.gradient_fill;
  } while (state.gradient_fill < until);
}

std::string tunnel_name(int32_t inizio, int32_t fine) {
  return "tunnel from " + std::to_string(inizio) + " m to " + std::to_string(fine) + " m";
}

}  // namespace

int32_t tunnel_kind(int32_t tipo) { return tipo > kMarkedKinds ? tipo - kMarkedKinds : tipo; }

bool follows_closely(const RouteModel& model, int32_t inizio) {
  const int32_t n = model.tunnel_count;
  return n >= 1 && int64_t{inizio} - model.tunnel_end[static_cast<size_t>(n)] <= kCloseSuccession;
}

void apply_gradient(RouteModel& model, ReaderState& state, int32_t p, int32_t g) {
  const int64_t v = round_half_even(p / double{kCellLength});
  if (v > 0) fill_gradient(model, state, v);
  state.previous_gradient = g;
}

void final_gradient_fill(RouteModel& model, ReaderState& state) {
  fill_gradient(model, state, final_fill_stop(model));
}

TunnelCells tunnel_cells(int32_t inizio, int32_t fine) {
  return {round_half_even(inizio / double{kCellLength}), round_half_even(fine / double{kCellLength} - 1)};
}

Verdict memo_montagna(RouteModel& model, int32_t inizio, int32_t fine, int32_t tipo) {
  const auto [first, last] = tunnel_cells(inizio, fine);
  // The register holds 80 tunnels and the grid ends at last_cell: a tunnel
  // beyond either is refused before anything is written.
  if (model.tunnel_count >= kLastTunnel) {
    return refuse_full(tunnel_name(inizio, fine) + ": the register already holds " + std::to_string(kLastTunnel) + " tunnels");
  }
  if (last >= first && last > model.last_cell) {
    return refuse(kPositionError, tunnel_name(inizio, fine) + ": its cells " + std::to_string(first) + " to " +
                                      std::to_string(last) + " reach past the last cell " +
                                      std::to_string(model.last_cell));
  }
  const bool markers = tipo > kMarkedKinds;
  if (follows_closely(model, inizio)) {
    tipo = kCloseSuccessionKind;
  } else {
    tipo = tunnel_kind(tipo);
  }
  const auto n = static_cast<size_t>(++model.tunnel_count);
  model.tunnel_start[n] = inizio;
  model.tunnel_end[n] = fine;
  for (int64_t i = first; i <= last; ++i) {
    Cell& cell = cell_at(model, i);
    cell.tunnel = low8(tipo);
    if (markers && (i - first + 1) % kMarkerSpacing == 0 && cell.kind == kNothing) cell.kind = kTunnelMarker;
  }
  return {};
}

}  // namespace scenario
