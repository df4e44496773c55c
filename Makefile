# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
CMAKE_FLAGS ?=
# The project's own builds (these targets, hence `make test` and CI) make every compiler warning
# an error: the tree has none. A plain `cmake` build, a packager's included, only shows them.
WERROR = -DKORVEL_WERROR=ON

.PHONY: all deps configure build bench-startup test test-asan test-tsan fuzz run demo screenshot package clean

# The core's test programs (no Qt widgets): what the sanitizer builds run.
CORE_TESTS = korvel_base_tests korvel_text_tests korvel_device_tests korvel_model_tests korvel_sync_tests \
             korvel_app_tests korvel_cli_tests
# The tests each sanitizer run selects, by their ctest label (tests/CMakeLists.txt): every core
# test under ASan, the threaded ones (core and window) under both.
ASAN_LABELS = '^(core|core-threads|gui-threads)$$'
TSAN_LABELS = 'threads$$'
# UB must fail the run, not scroll past in the log.
SAN_ENV = UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
          TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
# Qt is not built with TSan: races seen through its own (invisible) locks are suppressed, for the
# window's tests and for skingen, which the build runs.
TSAN_QT = TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan-qt.supp
FUZZ_SECONDS ?= 60
# Inputs as long as the formats need: a profile file (and a backup) is 32,832 bytes of image before
# its macros (16,512 bytes each), a virtual keyboard's state holds a macro area of up to 64 KiB;
# libFuzzer's own limit of 4,096 bytes would never pass their size checks.
FUZZ_LEN_FILES = 131072
FUZZ_LEN_MACROS = 65536
FUZZ_BUILD ?= build-fuzz
FUZZERS = profile_file_fuzzer macro_blob_fuzzer private_profile_fuzzer hid_report_descriptor_fuzzer \
          keyboard_state_fuzzer virtual_keyboard_fuzzer keyboard_reply_fuzzer device_backup_fuzzer \
          skin_rect_fuzzer mask_runs_fuzzer korvelctl_command_line_fuzzer \
          korvel_start_command_line_fuzzer complete_backup_fuzzer profile_json_fuzzer

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(WERROR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

# Launch-to-first-frame, close-to-exit and peak memory of the window against a bare Qt dialog.
bench-startup: configure
	@cmake --build $(BUILD) --target korvel bare_dialog korvelctl
	@bash bench/startup.sh $(BUILD)/bin

test: build
	@cd $(BUILD) && ctest --output-on-failure -j2

# The core's tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B build-asan -G Ninja $(WERROR) -DKORVEL_SANITIZE=address,undefined \
	  -DKORVEL_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build-asan -j2 --target $(CORE_TESTS) korvel_gui_tests
	@cd build-asan && env $(SAN_ENV) ctest --output-on-failure -j2 -L $(ASAN_LABELS)

# The threaded tests under ThreadSanitizer.
test-tsan: deps
	@cmake -S . -B build-tsan -G Ninja $(WERROR) -DKORVEL_SANITIZE=thread \
	  -DKORVEL_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@env $(TSAN_QT) cmake --build build-tsan -j2 --target korvel_device_tests korvel_model_tests \
	  korvel_sync_tests korvel_app_tests korvel_cli_tests korvel_gui_tests
	@cd build-tsan && env $(TSAN_QT) ctest --output-on-failure -j2 -L $(TSAN_LABELS)

# Builds the libFuzzer targets (clang; only the core and the fuzzers) and runs each for
# FUZZ_SECONDS on a copy of its seed corpus, so the seeds in the tree stay small.
fuzz:
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja $(WERROR) -DKORVEL_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j2
	@set -e; for f in $(FUZZERS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$f $(FUZZ_BUILD)/artifacts/$$f; \
	  case $$f in \
	    profile_file_fuzzer|device_backup_fuzzer|keyboard_state_fuzzer|complete_backup_fuzzer|profile_json_fuzzer) \
	      len=$(FUZZ_LEN_FILES);; \
	    macro_blob_fuzzer) len=$(FUZZ_LEN_MACROS);; \
	    *) len=4096;; \
	  esac; \
	  echo "fuzz: $$f for $(FUZZ_SECONDS) s, inputs up to $$len bytes"; \
	  $(FUZZ_BUILD)/bin/$$f -max_total_time=$(FUZZ_SECONDS) -max_len=$$len -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$f/ \
	    $(FUZZ_BUILD)/corpus/$$f tests/fuzz/corpus/$$f; \
	done

# The Debian package of the install (CPack), in $(BUILD)/.
package: build
	@cmake --build $(BUILD) --target package

run: build
	@bash scripts/run.sh $(BUILD)/bin

demo: build
	@bash scripts/demo.sh $(BUILD)/bin

screenshot: build
	@bash scripts/screenshot.sh $(BUILD)/bin

clean:
	rm -rf $(BUILD)
