# Front door: `make demo` and `make test` work on a fresh Debian machine as root.
PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev qt6-declarative-dev \
            qt6-webchannel-dev qt6-websockets-dev \
            libcurl4-openssl-dev libpugixml-dev libcpp-httplib-dev zlib1g-dev \
            libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core \
            fonts-nanum adwaita-icon-theme libxml2-utils python3 curl chromium
# The browser tests run on Node.js; a machine that has its own `node` keeps it.
NODE_PACKAGES := $(if $(shell command -v node),,nodejs npm)
# Only `make fuzz` needs these: clang and its libFuzzer runtime.
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_SECONDS ?= 60
FUZZERS := fuzz_xml_document fuzz_catalogue
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps fuzz-deps install-missing build test asan tsan demo bench bench-bridge fuzz clean

deps:
	@$(MAKE) --no-print-directory install-missing WANTED="$(PACKAGES) $(NODE_PACKAGES)"

fuzz-deps: deps
	@$(MAKE) --no-print-directory install-missing WANTED="$(FUZZ_PACKAGES)"

install-missing:
	@missing=$$(for p in $(WANTED); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build/build.ninja: CMakeLists.txt | deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps build/build.ninja
	cmake --build build -j $(JOBS)

test: build
	cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=address,undefined
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

tsan: deps
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=thread
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && QT_QPA_PLATFORM=offscreen \
	  TSAN_OPTIONS="die_after_fork=0 suppressions=$(CURDIR)/cmake/tsan.supp" \
	  ctest --output-on-failure -j $(JOBS)

demo: build
	apps/demo/run-demo.sh build/bin

bench: build
	build/bin/vantrel-bench

# A page in headless Chromium enumerates 10,000 catalogue files through vantrel-agent, one call
# at a time and in one batch call.
bench-bridge: build
	cd build/tests/browser && npm ci --prefer-offline --no-audit --no-fund --loglevel=error && \
	  VANTREL_BIN_DIR=$(CURDIR)/build/bin VANTREL_WEB_CLIENT=$(CURDIR)/build/web/vantrel.js \
	  node enumeration.bench.mjs

# Each fuzzer runs FUZZ_SECONDS on its own corpus, seeded from the demo site and fuzz/seeds;
# a crash leaves its input in build-fuzz as crash-*.
fuzz: fuzz-deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVANTREL_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZERS)
	cd build-fuzz && for f in $(FUZZERS); do \
	  mkdir -p corpus/$$f && cp -n ../apps/demo/site/*.xml ../fuzz/seeds/* corpus/$$f/ && \
	  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    QT_QPA_PLATFORM=offscreen bin/$$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=4096 \
	    -max_len=1048576 corpus/$$f || exit 1; \
	done

clean:
	rm -rf build build-asan build-tsan build-fuzz
