# Tivrelon: a Windows program, built with MinGW-w64 and run under Wine.
#   make run    build the 32-bit program and start it under Wine
#   make test   build both architectures and run every test under Wine and Xvfb
#   make bench  measure start-up, size, memory and Apply against bare floors
#   make windows-kit  build/Tivrelon-tests-i686.zip: the 32-bit tests for a Windows desktop

BUILD ?= build
ARCHS := i686 x86_64
JOBS ?= 2
CTEST_ARGS ?=

.PHONY: all deps configure build test run bench screenshots windows-kit clean

all: build

deps:
	@scripts/deps.sh

$(BUILD)/%/CMakeCache.txt:
	cmake -S . -B $(BUILD)/$* -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-$*-w64-mingw32.cmake \
	      -DCMAKE_BUILD_TYPE=Release >/dev/null

configure: deps $(addprefix $(BUILD)/,$(addsuffix /CMakeCache.txt,$(ARCHS)))

build: configure
	@for a in $(ARCHS); do cmake --build $(BUILD)/$$a -j$(JOBS) -- --no-print-directory || exit 1; done
	@printf 'subdirs("i686" "x86_64")\n' > $(BUILD)/CTestTestfile.cmake

test: build
	@scripts/wine-session.sh $(BUILD)/wineprefix -- \
	  ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) $(CTEST_ARGS)

bench: build
	@for a in $(ARCHS); do \
	  echo "== $$a (Wine, medians) =="; \
	  scripts/wine-session.sh $(BUILD)/wineprefix -- wine $(BUILD)/$$a/bench/bench_runner.exe 20 || exit 1; \
	done

windows-kit: ARCHS := i686
windows-kit: build
	@scripts/windows-kit.sh $(BUILD)

screenshots: build
	@scripts/screenshots.sh $(BUILD)

run: deps $(BUILD)/i686/CMakeCache.txt
	@cmake --build $(BUILD)/i686 -j$(JOBS) --target Tivrelon
	@scripts/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
