# Entry points for people and CI. `make test` is what CI runs.
BUILD      ?= build
BUILD_ASAN ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test test-release test-asan test-fuzz fuzz fuzz-build bench demo package clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVDB_WERROR=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Every suite in an optimised build, then the non-Qt suites again under the sanitizers.
test: test-release test-asan test-fuzz

test-release: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DKIVDB_WERROR=ON -DKIVDB_SANITIZE=ON \
	      -DKIVDB_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS) -LE qt

# The parsers of outside text under libFuzzer (clang, address and undefined sanitizers), in a
# build of their own. `make fuzz` runs each harness FUZZ_SECONDS; `make test-fuzz` replays each
# committed corpus and fuzzes 10 s more, so that a parser that breaks again fails the tests.
BUILD_FUZZ   ?= build-fuzz
FUZZ_SECONDS ?= 120
FUZZ_CXX     ?= clang++-14

fuzz-build: deps
	cmake -S . -B $(BUILD_FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=$(FUZZ_CXX) \
	      -DKIVDB_FUZZ=ON -DKIVDB_BUILD_TESTS=OFF -DKIVDB_BUILD_BENCH=OFF -DKIVDB_BUILD_QT=OFF \
	      $(CMAKE_FLAGS)
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target fuzzers

fuzz: fuzz-build
	fuzz/run-fuzzers $(BUILD_FUZZ) $(FUZZ_SECONDS)

test-fuzz: fuzz-build
	fuzz/run-fuzzers $(BUILD_FUZZ) 10

# The demonstration: the demo database exported as a site for any browser, in demo-site/, then,
# the desktop application KivDBDemo, started on the demo database when a display is there.
DEMO_SITE ?= demo-site
demo: configure
	cmake --build $(BUILD) -j $(JOBS) --target kivdb demo_database KivDBDemo
	rm -rf $(DEMO_SITE)
	mkdir -p $(DEMO_SITE)
	cp -R $(BUILD)/demo/site/. $(DEMO_SITE)/
	cp $(BUILD)/demo/kestrel.db $(BUILD)/demo/demo-site.db
	@$(BUILD)/tools/kivdb/kivdb export --connect "Provider=SQLite;Data Source=$(abspath $(BUILD))/demo/demo-site.db" \
	  --out $(DEMO_SITE) --heading "Kestrel Trading" --date-format "d mmmm yyyy" --role 1
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "Opening KivDBDemo on $(BUILD)/demo/kestrel.db" && \
	  $(BUILD)/demo/app/KivDBDemo "$(abspath $(BUILD))/demo/kestrel.db"; \
	else \
	  echo "No display: start the desktop application later with $(BUILD)/demo/app/KivDBDemo"; \
	fi

bench: build
	@for b in $(BUILD)/bench/*/bench_*; do [ -x "$$b" ] && echo "== $$b" && "$$b"; done

# The Debian packages (debian/), built by dpkg-buildpackage from a copy of the tracked and
# unignored files in $(BUILD)/debian-source, so that the work tree gets none of its leftovers;
# the .deb files end in $(PACKAGES). The suites are not run again there unless
# DEB_BUILD_OPTIONS says so (`make test` runs them).
PACKAGES ?= $(BUILD)/debian-packages
DEB_BUILD_OPTIONS ?= nocheck parallel=$(JOBS)
package:
	@command -v dpkg-buildpackage >/dev/null && command -v dh >/dev/null || \
	  { echo "make package needs dpkg-dev and debhelper (apt-get install dpkg-dev debhelper)" >&2; exit 1; }
	rm -rf $(BUILD)/debian-source
	mkdir -p $(BUILD)/debian-source/kivdb $(PACKAGES)
	rm -f $(PACKAGES)/*.deb $(PACKAGES)/*.buildinfo $(PACKAGES)/*.changes
	git ls-files -z --cached --others --exclude-standard | \
	  tar --null -T - -cf - | tar -xf - -C $(BUILD)/debian-source/kivdb
	cd $(BUILD)/debian-source/kivdb && \
	  DEB_BUILD_OPTIONS="$(DEB_BUILD_OPTIONS)" dpkg-buildpackage -us -uc -b
	mv $(BUILD)/debian-source/*.deb $(BUILD)/debian-source/*.buildinfo \
	   $(BUILD)/debian-source/*.changes $(PACKAGES)/
	@echo "Debian packages in $(PACKAGES):" && ls $(PACKAGES)/*.deb

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ)
