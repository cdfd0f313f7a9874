// PLACEHOLDER until the device model lands.
namespace vq::sim {
int simPlaceholder() { return 0; }
}  // namespace vq::sim
