# Sourced by the Wine scripts: the environment of every Wine start in the build's prefix.
# wine-env.sh WINE_ROOT
export WINEPREFIX="$1/prefix" HOME="$1/home" WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer, and no Linux menu entries for the shortcuts the tests save.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# Wine's bcrypt, crypt32 and secur32 set this variable when they load unless it is set. Wine 8
# starts a process by forking and then calling putenv in the child, so a library loading on one
# thread while another starts a process can leave the child waiting for good on the C library's
# environment lock. Set here, to the value they would give it, nothing calls setenv.
export GNUTLS_SYSTEM_PRIORITY_FILE=/dev/null
