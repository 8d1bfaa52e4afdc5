# Quorvan: build, run and test on Debian 12. `make run` and `make test` install what is missing.
JOBS ?= 2
# BUILD and DIST may be set to keep parallel work apart (make test BUILD=build/mine DIST=build/mine/dist).
BUILD ?= build
DIST ?= dist
NATIVE := $(BUILD)/native
WIN64 := $(BUILD)/win64
WIN32 := $(BUILD)/win32
export WINEPREFIX := $(CURDIR)/$(BUILD)/wineprefix
export WINEDEBUG := -all
export WINEDLLOVERRIDES := mscoree,mshtml=;winealsa.drv=
export QV_BUILD := $(abspath $(BUILD))
export QV_DIST := $(abspath $(DIST))

.PHONY: all deps native win64 win32 dist release prefix run test test-unit test-win test-fuzz test-e2e test-long bench fuzz starter soak guide test-guide clean

all: dist

deps:
	@tools/install-deps.sh

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

win64: deps
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(WIN64) -j $(JOBS)

win32: deps
	cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(WIN32) -j $(JOBS)

dist: win64 win32
	tools/make-dist.sh $(WIN64) $(DIST)/win64
	tools/make-dist.sh $(WIN32) $(DIST)/win32

# The archives a user downloads: dist/Quorvan-<version>-win64.zip, -win32.zip and SHA256SUMS.
release: dist
	python3 tools/make_release.py --dist $(DIST)

prefix: deps
	tools/wine-prefix.sh

run: dist prefix
	tools/run.sh

test-unit: native
	cd $(NATIVE) && ctest --output-on-failure

test-win: win64 prefix
	cd $(WIN64) && ctest --output-on-failure

test-e2e: dist prefix
	python3 tests/e2e/run.py

test-fuzz: deps
	tools/fuzz.sh 20

# The user guide as laid out: tidy, its links and pictures, and Chromium's rendering of it.
test-guide: dist
	python3 tests/guide/check_guide.py

test: test-unit win32 test-win test-fuzz test-e2e test-guide
	@echo "make test: all passed"

test-long: dist prefix
	python3 tests/e2e/run.py --long

# The start-up breakdown times a build of its own that notes when each start-up step ends.
bench: dist prefix
	cmake -S . -B $(BUILD)/win64-trace -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DQV_STARTUP_TRACE=ON >/dev/null
	cmake --build $(BUILD)/win64-trace -j $(JOBS) --target Quorvan
	python3 tools/bench.py

fuzz: deps
	tools/fuzz.sh --runs 10000000

soak: dist prefix
	python3 tools/soak.py

# Remakes transponders/starter from the installed scan tables and transponders/handmade.
starter: deps
	python3 tools/make_starter.py

# Remakes the user guide's pictures (guide/UserGuide_files) from the program under Wine.
guide: dist prefix
	python3 tools/make_guide.py

clean:
	rm -rf $(BUILD) dist
