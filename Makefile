# Seikyu: `make run` builds and starts the application, `make test` builds and runs every test.
# Both first install any missing Debian packages (as root, or through sudo).

BUILD      ?= build
SAN_BUILD  ?= build-sanitize
GENERATOR  ?= Ninja
JOBS       ?= $(shell nproc)

PACKAGES = cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-l10n-tools \
           qt6-tools-dev qt6-translations-l10n libqt6svg6 libicu-dev libqpdf-dev libgl-dev fonts-ipaexfont \
           poppler-utils xvfb xauth xdotool imagemagick locales clang libclang-rt-14-dev \
           dpkg-dev desktop-file-utils appstream lintian man-db \
           libqt6sql6-sqlite libqt6sql6-psql postgresql libpq-dev libxml2-dev libxml2-utils libpdfbox2-java default-jre-headless \
           libactivation-java libjaxb-api-java icc-profiles-free

SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test test-sanitize fuzz package bench clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
	@for l in ja_JP.UTF-8 en_US.UTF-8; do \
	  locale -a 2>/dev/null | grep -qi "^$$(echo $$l | sed 's/UTF-8/utf8/')$$" || { \
	    $(SUDO) sed -i "s/^# *$$l UTF-8/$$l UTF-8/" /etc/locale.gen && $(SUDO) locale-gen >/dev/null; }; \
	done

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ "$$QT_QPA_PLATFORM" != offscreen ]; then \
	  echo "Seikyu needs a graphical display: no DISPLAY or WAYLAND_DISPLAY is set."; \
	  echo "Run it from a desktop session, or try: xvfb-run -a $(BUILD)/seikyu"; exit 1; fi
	$(BUILD)/seikyu $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The suite under AddressSanitizer (leaks included), UndefinedBehaviorSanitizer and -Werror.
test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DSEIKYU_SANITIZE=ON -DSEIKYU_WERROR=ON \
	  -DSEIKYU_ASAN_OPTIONS=detect_leaks=1 -DSEIKYU_LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

package: build
	cmake --build $(BUILD) --target package
	dpkg-deb --info $(BUILD)/seikyu_*.deb
	if command -v lintian >/dev/null; then lintian --fail-on error $(BUILD)/seikyu_*.deb; fi

fuzz: deps
	.ci/fuzz

bench: build
	$(BUILD)/bench/seikyu_bench

clean:
	rm -rf $(BUILD) $(SAN_BUILD) build-fuzz
