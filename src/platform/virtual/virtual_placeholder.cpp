// PLACEHOLDER until the virtual platform lands.
namespace vq::virt {
int virtualPlaceholder() { return 0; }
}  // namespace vq::virt
