# Sourced by a scenario that needs a clean machine, or that ends every window of its prefix:
# a Wine environment of its own in place of the shared one, brought up now and down at the
# end, then the scenario library.
own_env=${SUITE_RESULTS:?}.wine
wine_env=$(dirname "$0")/../wine-env
"$wine_env" up "$own_env" >/dev/null
export SUITE_WINE_ENV=$own_env
. "$(dirname "$0")/lib.sh"
trap 'stop_launch; "$wine_env" down "$own_env"' EXIT
