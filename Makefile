# Two commands do all the set-up: `make test` and `make run`.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
THREAD_BUILD ?= build-thread
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: test run build deps configure package install-package sanitize sanitize-thread bench fuzz clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Tests that need a window run under a virtual X server.
test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j $(JOBS)

run: build
	scripts/run $(BUILD)

# The Debian package, $(BUILD)/orbivane_<version>_amd64.deb; install-package builds it and installs
# it with apt (which fetches what it depends on), through sudo when not root.
package: build
	cd $(BUILD) && cpack -G DEB

install-package: package
	$(if $(filter 0,$(shell id -u)),,sudo) apt-get install -y ./$(BUILD)/$$(cd $(BUILD) && ls -t orbivane_*_amd64.deb | head -1)

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DORBIVANE_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j $(JOBS)

# The tests whose work crosses threads (folder sizes counted by workers, folder watches, the frames
# that take their results) under ThreadSanitizer. The orbivane-sizes tests that start the program
# (built with ThreadSanitizer too, and quiet on standard error only without a report) run apart
# from those that count in the test's process: ThreadSanitizer loses track of locks in a process
# that has started others.
THREAD_TESTS = orbivane_platform_files_tests orbivane_resources_tests orbivane_ring_tests orbivane_app_tests orbivane_presentation_tests orbivane_tools_tests
sanitize-thread: deps
	cmake -S . -B $(THREAD_BUILD) -G Ninja -DORBIVANE_SANITIZE=thread
	cmake --build $(THREAD_BUILD) -j $(JOBS) --target $(THREAD_TESTS)
	export TSAN_OPTIONS=suppressions=$(CURDIR)/tests/thread_sanitizer.supp && cd $(THREAD_BUILD)/tests && \
	./orbivane_platform_files_tests --gtest_filter='FolderCounter*:FolderWatcher*' && \
	./orbivane_resources_tests --gtest_filter='PicturePrefetch*' && \
	./orbivane_ring_tests --gtest_filter='RingTest.StatusCounts*' && \
	./orbivane_app_tests --gtest_filter='SizesTest*:ScanAcrossFrames*' && \
	xvfb-run -a -s "-screen 0 1280x1024x24" ./orbivane_presentation_tests --gtest_filter='SceneTest.FolderInfoBoxShowsItsCount*' && \
	./orbivane_tools_tests --gtest_filter='SnapshotTest.CountedSizes*:SnapshotTest.FrameStatistics*:SnapshotTest.TheTool*:OrbivaneSizes.FoldersLeft*' && \
	./orbivane_tools_tests --gtest_filter='OrbivaneSizes*:-OrbivaneSizes.FoldersLeft*'

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORBIVANE_BENCHMARKS=ON -DORBIVANE_TESTS=OFF
	cmake --build build-bench -j $(JOBS)

# The fuzz targets, built with clang into build-fuzz/ and run one after the other.
fuzz:
	scripts/install-deps fuzz
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DORBIVANE_FUZZ=ON -DORBIVANE_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS) --target orbivane_fuzz_targets
	tests/fuzz/run-fuzz build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(THREAD_BUILD) build-bench build-fuzz
