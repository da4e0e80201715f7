# Tivrelon: a Windows program, built with MinGW-w64 and run under Wine.
#   make run    build the 32-bit program and start it under Wine (through
#               qemu-i386 where the kernel runs no 32-bit code)
#   make test   build both architectures and run every test under Wine and Xvfb
#   make bench  measure start-up, size, memory and Apply against bare floors
#   make dist   the release zip and its SHA256SUMS under dist/; signed with
#               SIGN_CERT=cert.pem SIGN_KEY=key.pem, or SIGN_PFX=file.pfx [SIGN_PASS=...],
#               time-stamped with SIGN_TIMESTAMP=url (make passes SIGN_* on in the environment)
#   make windows-kit  build/Tivrelon-tests-i686.zip: the 32-bit tests for a Windows desktop

BUILD ?= build
ARCHS := i686 x86_64
JOBS ?= 2
CTEST_ARGS ?=

.PHONY: all deps configure build test run bench screenshots dist windows-kit clean

all: build

deps:
	@scripts/deps.sh $(BUILD)

$(BUILD)/%/CMakeCache.txt:
	cmake -S . -B $(BUILD)/$* -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-$*-w64-mingw32.cmake \
	      -DCMAKE_BUILD_TYPE=Release >/dev/null

configure: deps $(addprefix $(BUILD)/,$(addsuffix /CMakeCache.txt,$(ARCHS)))

build: configure
	@for a in $(ARCHS); do cmake --build $(BUILD)/$$a -j$(JOBS) -- --no-print-directory || exit 1; done

# The reproducibility check runs first: CI's output ends with CTest's summary.
test: build
	@$(if $(filter i686,$(ARCHS)),JOBS=$(JOBS) scripts/repro-check.sh $(BUILD))
	@scripts/wine-session.sh $(BUILD)/wineprefix -- \
	  scripts/ctest.sh $(BUILD) --output-on-failure -j$(JOBS) $(CTEST_ARGS)

bench: build
	@scripts/wine-session.sh $(BUILD)/wineprefix -- scripts/bench.sh $(BUILD) 20

windows-kit: ARCHS := i686
windows-kit: build
	@scripts/windows-kit.sh $(BUILD)

screenshots: build
	@scripts/screenshots.sh $(BUILD)

dist: deps $(BUILD)/i686/CMakeCache.txt
	@cmake --build $(BUILD)/i686 -j$(JOBS) --target Tivrelon -- --no-print-directory
	@scripts/dist.sh $(BUILD)

# The 32-bit product, natively or through qemu-i386; the 64-bit build where
# Wine can start no 32-bit program at all.
RUN_ARCH = $(shell scripts/product-arch.sh)
run: deps
	@$(MAKE) --no-print-directory $(BUILD)/$(RUN_ARCH)/CMakeCache.txt
	@cmake --build $(BUILD)/$(RUN_ARCH) -j$(JOBS) --target Tivrelon
	@scripts/run.sh $(BUILD) $(RUN_ARCH)

clean:
	rm -rf $(BUILD)
