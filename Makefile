# Two entry points for a fresh Debian 12 machine:
#   make run   - install the packages, build, start the program
#   make test  - install the packages, build, run every test; then build again
#                with AddressSanitizer and UndefinedBehaviorSanitizer in a second
#                folder and run every test there (any report fails the run)
#   make fuzz  - build the fuzz targets with clang and run each for FUZZ_SECONDS
#   make package - build build/kinemo_<version>_amd64.deb and check it (lintian)
BUILD ?= build
SANITIZE_BUILD ?= build-asan
JOBS ?= $(shell nproc)

# A sanitizer report stops the test that made it and fails it. Leaks found at
# exit count too; only leaks of Qt and the system libraries are suppressed,
# each for the reason written beside it in the suppressions file.
SANITIZE_ENV = \
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0:abort_on_error=0:detect_stack_use_after_return=1:check_initialization_order=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0

.PHONY: deps configure build run test test-sanitize fuzz package clean

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/kinemo

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-sanitize

# Optimised a little (-O1) so the instrumented tests run at a useful speed
# while the reports still point at the right lines. A test that fails runs
# once more: LeakSanitizer's own tracer now and then crashes at exit
# ("Tracer caught signal 11", "LeakSanitizer has encountered a fatal error";
# once in nine runs of a test that opens the continuous player, whose
# GStreamer threads are still about); a real fault is reported again on the
# second run.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKINEMO_SANITIZE=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g"
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure -j $(JOBS) --repeat until-pass:2

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = fuzz_measurement_csv fuzz_recovery_file fuzz_kinemo_file fuzz_settings_file fuzz_numbers fuzz_frame_source

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKINEMO_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)
	bash scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

package: configure
	cmake --build $(BUILD) -j $(JOBS) --target package
	bash scripts/check-package.sh $(BUILD) "$$(ls -t $(BUILD)/kinemo_*_amd64.deb | head -n 1)"

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
